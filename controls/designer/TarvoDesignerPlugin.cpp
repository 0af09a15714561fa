#include "TarvoDesignerPlugin.h"

#include "tarvo/InProcessServer.h"
#include "tarvo/TypeLibrary.h"
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include "system/LibraryResources.h"

#include <QPixmap>

namespace {

// Toolbox bitmaps are drawn on the button face, which shows through.
constexpr QRgb kButtonFace = qRgb(0xC0, 0xC0, 0xC0);

QIcon toolboxIcon(int resourceId)
{
    const QString library = sysapi::libraryFileOf(reinterpret_cast<const void*>(&DllGetClassObject));
    const QImage bitmap = sysapi::loadLibraryBitmap(library, resourceId);
    if (bitmap.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(bitmap);
    pixmap.setMask(pixmap.createMaskFromColor(kButtonFace, Qt::MaskInColor));
    return QIcon(pixmap);
}

// A control placed new on a form: initialised as a host initialises it, so
// its properties start at the values of a new instance.
template <typename Control>
QWidget* createNewControl(QWidget* parent)
{
    auto* control = new Control(parent);
    control->initNew();
    return control;
}

} // namespace

TarvoControlPlugin::TarvoControlPlugin(Description description, QObject* parent)
    : QObject(parent), m_description(std::move(description))
{
}

QString TarvoControlPlugin::name() const { return m_description.className; }
QString TarvoControlPlugin::group() const { return QStringLiteral("Tarvo"); }
QString TarvoControlPlugin::toolTip() const { return m_description.toolTip; }
QString TarvoControlPlugin::whatsThis() const { return m_description.whatsThis; }
QString TarvoControlPlugin::includeFile() const { return m_description.includeFile; }
bool TarvoControlPlugin::isContainer() const { return false; }
bool TarvoControlPlugin::isInitialized() const { return m_initialized; }

QIcon TarvoControlPlugin::icon() const
{
    return m_icon.isNull() ? toolboxIcon(m_description.toolboxBitmap) : m_icon;
}

QWidget* TarvoControlPlugin::createWidget(QWidget* parent) { return m_description.factory(parent); }

void TarvoControlPlugin::initialize(QDesignerFormEditorInterface* /*core*/)
{
    if (m_initialized)
        return;
    m_icon = toolboxIcon(m_description.toolboxBitmap);
    m_initialized = true;
}

QString TarvoControlPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect></property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(m_description.className, m_description.objectName)
        .arg(m_description.defaultSize.width())
        .arg(m_description.defaultSize.height());
}

TarvoDesignerPlugins::TarvoDesignerPlugins(QObject* parent) : QObject(parent)
{
    m_plugins << new TarvoControlPlugin({QStringLiteral("tarvo::XShpLabel"), QStringLiteral("slbLabel"),
                                         QStringLiteral("tarvo/XShpLabel.h"),
                                         QStringLiteral("Shaped label: a caption on a disc"),
                                         QStringLiteral("A short caption centred on a filled circle, with one look "
                                                        "while enabled and another while disabled."),
                                         tarvo::kXShpLabelToolboxBitmap, QSize(32, 32),
                                         &createNewControl<tarvo::XShpLabel>},
                                        this)
              << new TarvoControlPlugin({QStringLiteral("tarvo::XGlowLabel"), QStringLiteral("glbLabel"),
                                         QStringLiteral("tarvo/XGlowLabel.h"),
                                         QStringLiteral("Glowing label: a caption whose colour pulses"),
                                         QStringLiteral("A caption whose text colour steps along a cycle while its "
                                                        "Interval is set."),
                                         tarvo::kXGlowLabelToolboxBitmap, QSize(65, 33),
                                         &createNewControl<tarvo::XGlowLabel>},
                                        this);
}

QList<QDesignerCustomWidgetInterface*> TarvoDesignerPlugins::customWidgets() const { return m_plugins; }
