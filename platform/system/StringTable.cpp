#include "system/StringTable.h"

#include "automation/AutomationError.h"

namespace sysapi {
namespace {

constexpr int kResourceNotFound = 326;

} // namespace

StringTable::StringTable(std::initializer_list<std::pair<const int, QString>> strings) : m_strings(strings) {}

bool StringTable::contains(int id) const { return m_strings.count(id) != 0; }

QString StringTable::load(int id) const
{
    const auto found = m_strings.find(id);
    if (found == m_strings.end())
        automation::raiseError(kResourceNotFound,
                               QStringLiteral("Resource with identifier '%1' not found").arg(id));
    return found->second;
}

} // namespace sysapi
