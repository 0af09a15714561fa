// What screen readers learn about Tarvo's controls. The library installs its
// accessibility factory when it is loaded, so every host of the controls
// exposes them the same way: as labels named by their captions (or by the
// name a host gives them), never as anonymous fillers.
#include "GlowCaptionLabel.h"
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tarvo {
namespace {

// A caption as it reads: an ampersand marks the next character as the
// access key and is not shown; two in a row show one.
QString readableCaption(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            ++i;
            if (i == caption.size())
                break;
        }
        text.append(caption.at(i));
    }
    return text;
}

void notify(QWidget* control, QAccessible::Event change)
{
    QAccessibleEvent event(control, change);
    QAccessible::updateAccessibility(&event);
}

// A control that stands for its caption: a label with no parts of its own
// for a screen reader to walk into. A name the host gives it wins over the
// caption.
class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(QWidget* control) : QAccessibleWidget(control, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return readableCaption(caption());
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

protected:
    virtual QString caption() const = 0;
};

// The control's own property writes tell the screen reader what changed. The
// connection lives exactly as long as the interface.
class ControlAccessible : public CaptionAccessible {
public:
    explicit ControlAccessible(ui::UserControl* control) : CaptionAccessible(control)
    {
        m_connection = QObject::connect(control, &ui::UserControl::propertyChanged, control,
                                        [control](const QString& property) { propertyWritten(control, property); });
    }
    ~ControlAccessible() override { QObject::disconnect(m_connection); }

private:
    static void propertyWritten(QWidget* control, const QString& property)
    {
        if (property == QLatin1String("Caption") && control->accessibleName().isEmpty())
            notify(control, QAccessible::NameChanged);
        else if (property == QLatin1String("Enabled") && control->accessibleDescription().isEmpty())
            notify(control, QAccessible::DescriptionChanged);
    }

    QMetaObject::Connection m_connection;
};

// The shaped label is an indicator: its enabled look marks the current one
// of a row of them (the current step of a wizard, say).
class XShpLabelAccessible : public ControlAccessible {
public:
    explicit XShpLabelAccessible(XShpLabel* control) : ControlAccessible(control) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return label()->Enabled() ? QStringLiteral("current") : QStringLiteral("not current");
        return ControlAccessible::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = ControlAccessible::state();
        s.disabled = !label()->Enabled();
        return s;
    }

private:
    XShpLabel* label() const { return static_cast<XShpLabel*>(widget()); }
    QString caption() const override { return label()->Caption(); }
};

// The glowing label reads as its caption; its inner caption label is the
// same text and is not shown to the screen reader a second time.
class XGlowLabelAccessible : public ControlAccessible {
public:
    explicit XGlowLabelAccessible(XGlowLabel* control) : ControlAccessible(control) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = ControlAccessible::state();
        s.disabled = !label()->Enabled();
        return s;
    }

private:
    XGlowLabel* label() const { return static_cast<XGlowLabel*>(widget()); }
    QString caption() const override { return label()->Caption(); }
};

// Reached only when asked for directly (it is no child of the glowing
// label's interface): the same caption, never a filler.
class GlowCaptionAccessible : public CaptionAccessible {
public:
    explicit GlowCaptionAccessible(GlowCaptionLabel* caption) : CaptionAccessible(caption) {}

private:
    QString caption() const override { return static_cast<GlowCaptionLabel*>(widget())->Caption(); }
};

// Qt asks for the most derived class first, so a class of a host derived from
// one of these falls through to its base.
QAccessibleInterface* controlAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(XShpLabel::staticMetaObject.className()))
        return new XShpLabelAccessible(static_cast<XShpLabel*>(object));
    if (className == QLatin1String(XGlowLabel::staticMetaObject.className()))
        return new XGlowLabelAccessible(static_cast<XGlowLabel*>(object));
    if (className == QLatin1String(GlowCaptionLabel::staticMetaObject.className()))
        return new GlowCaptionAccessible(static_cast<GlowCaptionLabel*>(object));
    return nullptr;
}

struct FactoryInstaller {
    FactoryInstaller() { QAccessible::installFactory(&controlAccessible); }
};
const FactoryInstaller factoryInstaller;

} // namespace
} // namespace tarvo
