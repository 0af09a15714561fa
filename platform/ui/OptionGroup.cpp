#include "ui/OptionGroup.h"

#include <QRadioButton>

namespace ui {
namespace {

void updateTabStops(const QList<QRadioButton*>& buttons)
{
    for (QRadioButton* button : buttons)
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

void makeOptionGroup(const QList<QRadioButton*>& buttons)
{
    for (QRadioButton* button : buttons) {
        button->setAutoExclusive(true);
        QObject::connect(button, &QRadioButton::toggled, button, [buttons] { updateTabStops(buttons); });
    }
    updateTabStops(buttons);
}

} // namespace ui
