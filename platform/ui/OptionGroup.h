#pragma once

#include <QList>

class QRadioButton;

namespace ui {

// Makes option buttons behave as one group: only the selected button is a
// tab stop, so the Tab key enters the group at its selection and leaves it
// with the next key press; the arrow keys move the selection within it.
void makeOptionGroup(const QList<QRadioButton*>& buttons);

} // namespace ui
