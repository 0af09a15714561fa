#pragma once

#include <QProgressBar>

namespace ui {

// A progress bar with the range 0 to 100 whose value is a single-precision
// number, as the platform's progress-bar control keeps it; the bar shows the
// value rounded to the nearest whole step.
class ProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    float exactValue() const { return m_exactValue; }
    void setExactValue(float value);

private:
    float m_exactValue = 0.0f;
};

} // namespace ui
