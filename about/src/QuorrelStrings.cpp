#include "QuorrelStrings.h"

#include "system/StringTable.h"

namespace quorrel {
namespace {

const sysapi::StringTable& stringTable()
{
    static const sysapi::StringTable table{
        {StringId::LegalWarning,
         QStringLiteral("Warning: this program is protected by copyright law and international treaties. "
                        "Unauthorised copying or distribution of this program, or of any part of it, may result "
                        "in severe civil and criminal penalties and will be prosecuted to the fullest extent of "
                        "the law.")},
        {StringId::HumorousWarning,
         QStringLiteral("Warning: this program is protected by copyright law and by a very large dog. "
                        "Unauthorised copying or distribution of this program, or of any part of it, will be "
                        "reported to the dog, who has a long memory, a short temper and no sense of humour "
                        "at all.")},
    };
    return table;
}

} // namespace

QString loadString(int id) { return stringTable().load(id); }

} // namespace quorrel
