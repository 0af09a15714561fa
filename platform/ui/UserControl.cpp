#include "ui/UserControl.h"

#include <QApplication>

namespace ui {

AmbientHost::~AmbientHost() = default;

UserControl::UserControl(QWidget* parent) : QWidget(parent) {}

void UserControl::initNew() { initProperties(); }

void UserControl::load(const automation::PropertyBag& bag) { readProperties(bag); }

void UserControl::save(automation::PropertyBag& bag) { writeProperties(bag); }

automation::FontRef UserControl::ambientFont() const
{
    for (const QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (const auto* host = dynamic_cast<const AmbientHost*>(ancestor))
            return host->ambientFont();
    }
    return automation::StdFont::fromQFont(parentWidget() ? parentWidget()->font() : QApplication::font());
}

} // namespace ui
