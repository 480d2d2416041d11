// Any link text, as any program may open any text as a link: the site prefix
// and the prefix test must answer without crashing. The first line of the input
// is the link, the rest a rule prefix.
#include "chrome/CanonicalText.h"
#include "rules/RuleStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = text.indexOf(u'\n');
    const QString url = split < 0 ? text : text.left(split);
    const QString prefix = split < 0 ? QString() : text.mid(split + 1);

    if (const auto site = RuleStore::sitePrefix(url)) {
        if (!site->contains(u"://"))
            __builtin_trap();
    }
    // Every text begins with itself and with nothing.
    if (!CanonicalText::startsWith(url, url) || !CanonicalText::startsWith(url, QString()))
        __builtin_trap();
    (void)CanonicalText::startsWith(url, prefix);
    return 0;
}
