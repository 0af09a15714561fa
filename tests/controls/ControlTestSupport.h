#pragma once

#include "automation/AutomationError.h"
#include "automation/StdFont.h"
#include "ui/OleColor.h"
#include "ui/UserControl.h"

#include <QColor>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <ostream>

// Helpers that the tests of both controls share.

// Readable colours in failure messages.
inline void PrintTo(const QColor& color, std::ostream* out) { *out << color.name().toStdString(); }

namespace tarvo::testing {

// A container that offers its controls one ambient font object.
class TestHost : public QWidget, public ui::AmbientHost {
public:
    automation::FontRef font = automation::StdFont::create(QStringLiteral("DejaVu Sans"), 9);
    automation::FontRef ambientFont() const override { return font; }
};

inline QColor systemColor(std::uint32_t oleColor) { return *ui::oleColorToQColor(oleColor); }

// Colours of the rendering that antialiasing may blend a little at edges.
inline bool near(const QColor& actual, const QColor& expected, int tolerance = 24)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
           && std::abs(actual.green() - expected.green()) <= tolerance
           && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

inline int errorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const automation::AutomationError& error) {
        return error.number();
    }
    return 0;
}

} // namespace tarvo::testing
