// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/WrappedLink.h"

#include "text/ArgumentText.h"

#include "FakePlatform.h"

#include <QUrl>

namespace {

/// `link` in Safe Links, as Outlook rewrites it.
QString safeLinks(const QString& link)
{
    return u"https://eur01.safelinks.protection.outlook.com/?url="_s +
           QString::fromLatin1(QUrl::toPercentEncoding(link)) +
           u"&data=05%7C02%7Cuser%40contoso.com%7C1f2e%7C0%7C638&sdata=Ab%2Bc%3D&reserved=0"_s;
}

QString nested(int depth, QString link)
{
    while (depth-- > 0)
        link = safeLinks(link);
    return link;
}

} // namespace

// Each wrapper as mail, chat and the web carry it, alone and nested, and the
// hostile ones, which come back exactly as given (tests/data/wrapped-links.tsv);
// here, those made to size: nesting to the bound and past it, a link past the
// size bound, and garbage just under it.
TEST(WrappedLink, RealMailAndHostileLinks)
{
    struct Case
    {
        QString given, destination, services; // no destination: as given
    };
    QList<Case> cases;
    const QString table =
        QString::fromUtf8(readFile(QStringLiteral(ORLIM_TEST_DATA "/wrapped-links.tsv")));
    for (const QString& line : table.split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (!line.isEmpty() && !line.startsWith(u'#'))
            cases.append({fields.value(0), fields.value(1), fields.value(2)});
    }
    ASSERT_GT(cases.size(), 40);
    const QString example = u"https://example.com/"_s;
    cases +=
        {{nested(WrappedLink::maxDepth, example), example, u"Microsoft Safe Links"_s},
         {nested(WrappedLink::maxDepth + 1, example), {}, {}},
         {safeLinks(example + QString(WrappedLink::maxLength, u'a')), {}, {}},
         {QString(100 * 1024, u'%'), {}, {}},
         {u"https://urldefense.com/v3/__"_s + QString(WrappedLink::maxLength - 40, u'*'), {}, {}},
         {u"https://www.google.com/url?"_s + QString(WrappedLink::maxLength - 40, u'&'), {}, {}},
         {QString(), {}, {}}};
    for (const Case& c : std::as_const(cases)) {
        SCOPED_TRACE(c.given.left(200).toStdString());
        const WrappedLink link = WrappedLink::read(c.given);
        EXPECT_EQ(link.given, c.given);
        EXPECT_TRUE(link.destination == (c.destination.isEmpty() ? c.given : c.destination))
            << link.destination.left(200).toStdString();
        EXPECT_EQ(link.services.join(u", "), c.services);
        EXPECT_EQ(link.opened(), c.given) << "the link as given opens";
    }
}

// A destination keeps the bytes its escapes stand for, UTF-8 or not (a byte
// not UTF-8 is carried as Orlim carries every such byte); so does the wrapper
// itself, unread. The host shown is the one a browser would go to.
TEST(WrappedLink, BytesAndHost)
{
    const QString given = ArgumentText::fromBytes(
        "https://l.facebook.com/l.php?u=https%3A%2F%2Fuser%40Example.COM%3A8443%2F%FF&h=\xfe");
    const WrappedLink link = WrappedLink::read(given, true);
    EXPECT_EQ(ArgumentText::toBytes(link.destination), "https://user@Example.COM:8443/\xff");
    EXPECT_EQ(link.host, u"example.com"_s);
    EXPECT_EQ(link.opened(), link.destination);
    EXPECT_EQ(WrappedLink::read(u"https://[::1]:80/"_s).host, QString());
    EXPECT_EQ(WrappedLink::read(safeLinks(u"https://[::1]:80/"_s)).host, u"[::1]"_s);
}
