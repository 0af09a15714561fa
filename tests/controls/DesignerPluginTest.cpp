// Tarvo's Designer plugin, loaded as Designer loads it.
#include "tarvo/XGlowLabel.h"
#include "tarvo/XShpLabel.h"

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QPluginLoader>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

QList<QDesignerCustomWidgetInterface*> loadedControls(QPluginLoader& loader)
{
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface*>{};
}

} // namespace

TEST(TarvoDesignerPlugin, OffersBothControlsInTheTarvoGroupWithTheirBitmaps)
{
    QPluginLoader loader(QStringLiteral(TARVO_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    const QList<QDesignerCustomWidgetInterface*> controls = loadedControls(loader);
    ASSERT_EQ(controls.size(), 2);

    QStringList names;
    for (QDesignerCustomWidgetInterface* control : controls) {
        names << control->name();
        SCOPED_TRACE(control->name().toStdString());
        control->initialize(nullptr);
        EXPECT_EQ(control->group(), QStringLiteral("Tarvo"));
        EXPECT_FALSE(control->toolTip().isEmpty());
        EXPECT_FALSE(control->isContainer());
        EXPECT_TRUE(control->domXml().contains(QStringLiteral("class=\"%1\"").arg(control->name())));
        const QIcon icon = control->icon();
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 15));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("tarvo::XShpLabel"), QStringLiteral("tarvo::XGlowLabel")}));
    // Each control keeps its own bitmap.
    EXPECT_NE(controls[0]->icon().pixmap(QSize(16, 15)).toImage(), controls[1]->icon().pixmap(QSize(16, 15)).toImage());
}

TEST(TarvoDesignerPlugin, CreatesTheLibrarysOwnControlsAsNewInstances)
{
    QPluginLoader loader(QStringLiteral(TARVO_DESIGNER_PLUGIN));
    ASSERT_TRUE(loader.load()) << loader.errorString().toStdString();
    const QList<QDesignerCustomWidgetInterface*> controls = loadedControls(loader);
    ASSERT_EQ(controls.size(), 2);
    QWidget form;

    auto* shaped = dynamic_cast<tarvo::XShpLabel*>(controls[0]->createWidget(&form));
    ASSERT_NE(shaped, nullptr);
    EXPECT_EQ(shaped->parentWidget(), &form);
    // Initialised as a new instance: the default fill colour, editable as
    // the control's own Qt property.
    EXPECT_EQ(shaped->property("FillColor").toUInt(), 0x80000002u);
    EXPECT_TRUE(shaped->setProperty("Caption", QStringLiteral("3")));
    EXPECT_EQ(shaped->Caption(), QStringLiteral("3"));

    auto* glowing = dynamic_cast<tarvo::XGlowLabel*>(controls[1]->createWidget(&form));
    ASSERT_NE(glowing, nullptr);
    EXPECT_EQ(glowing->property("Caption").toString(), QStringLiteral("Label1"));
}
