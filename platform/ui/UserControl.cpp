#include "ui/UserControl.h"

#include <QApplication>

namespace ui {

AmbientHost::~AmbientHost() = default;

UserControl::UserControl(QWidget* parent) : QWidget(parent) {}

void UserControl::initNew() { initProperties(); }

void UserControl::load(const automation::PropertyBag& bag) { readProperties(bag); }

std::optional<automation::AutomationError> UserControl::loadKeepingDefaults(const automation::PropertyBag& bag)
{
    QStringList asked;
    bag.recordReadsInto(&asked);
    try {
        readProperties(bag);
        bag.recordReadsInto(nullptr);
        return std::nullopt;
    } catch (const automation::AutomationError& error) {
        bag.recordReadsInto(nullptr);
        // The last key asked for is the one whose value could not be applied.
        automation::PropertyBag readable;
        for (qsizetype i = 0; i + 1 < asked.size(); ++i) {
            if (bag.contains(asked.at(i)) && !readable.contains(asked.at(i)))
                readable.writeProperty(asked.at(i), bag.readProperty(asked.at(i)));
        }
        try {
            readProperties(readable);
        } catch (const automation::AutomationError&) {
            // Even the defaults were refused: the control keeps what it has.
        }
        return error;
    }
}

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
