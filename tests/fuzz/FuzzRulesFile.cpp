// "rules.json" as a hand edit might leave it. Whatever decodes must encode and
// decode back to the same rules.
#include "rules/RulesFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto rules = RulesFile::decode(bytes);
    if (!rules)
        return 0;
    const auto again = RulesFile::decode(RulesFile::encode(*rules));
    if (!again || *again != *rules)
        __builtin_trap();
    return 0;
}
