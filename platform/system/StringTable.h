#pragma once

#include <QString>

#include <initializer_list>
#include <map>
#include <utility>

// String resources loaded by number: a library compiles its table in and
// loads each text by its id.
namespace sysapi {

class StringTable {
public:
    StringTable(std::initializer_list<std::pair<const int, QString>> strings);

    bool contains(int id) const;
    // The text of `id`; an id the table lacks fails with error 326.
    QString load(int id) const;

private:
    std::map<int, QString> m_strings;
};

} // namespace sysapi
