#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;

namespace quorrel {

// The loaded about dialog: the widget and its controls with their design
// settings. It holds no behaviour; frmAbout connects the events it handles.
// Destroying it unloads the controls.
class frmAboutWindow : public QDialog {
    Q_OBJECT

public:
    frmAboutWindow();

    QLabel* picIcon;
    QLabel* lblProductName;
    QLabel* lblCopyrightMsg;
    QLabel* lblDescription;
    QLabel* lblHyperlink;
    QLabel* lblDisclaimer;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QLabel* picAuthor;
    QTimer* timTimer;

    // Captions as the form sets them: a carriage return breaks the line.
    static void setCaption(QLabel* label, const QString& caption);
    static QString caption(const QLabel* label);
    // The link label takes the size of its text; empty text has no width.
    void setHyperlinkCaption(const QString& caption);
    // Picture box that sizes itself to its picture.
    static void setPicture(QLabel* pictureBox, const QPixmap& picture);

signals:
    // The user closed the window with its close box.
    void closeBoxPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quorrel
