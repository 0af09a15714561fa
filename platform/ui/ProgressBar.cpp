#include "ui/ProgressBar.h"

#include "automation/AutomationError.h"

#include <cmath>

namespace ui {

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setTextVisible(false);
}

void ProgressBar::setExactValue(float value)
{
    if (!std::isfinite(value) || value < 0.0f || value > 100.0f)
        automation::raiseError(automation::ErrorNumber::InvalidPropertyValue);
    m_exactValue = value;
    setValue(static_cast<int>(std::lround(value)));
}

} // namespace ui
