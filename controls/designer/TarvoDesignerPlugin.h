#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QIcon>
#include <QObject>

// Tarvo's controls in Qt Designer: XShpLabel and XGlowLabel in the group
// "Tarvo", each with its toolbox bitmap as icon. The controls come from
// libtarvo itself; Designer edits their own Qt properties.
class TarvoControlPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    using Factory = QWidget* (*)(QWidget* parent);
    struct Description {
        QString className;
        QString objectName;   // the first instance's name on a form
        QString includeFile;
        QString toolTip;
        QString whatsThis;
        int toolboxBitmap;
        QSize defaultSize;
        Factory factory;
    };

    TarvoControlPlugin(Description description, QObject* parent);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    Description m_description;
    QIcon m_icon;
    bool m_initialized = false;
};

class TarvoDesignerPlugins : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TarvoDesignerPlugins(QObject* parent = nullptr);
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    QList<QDesignerCustomWidgetInterface*> m_plugins;
};
