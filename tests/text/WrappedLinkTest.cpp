// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/WrappedLink.h"

#include "text/ArgumentText.h"

#include "QtPrinting.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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
// hostile ones, which come back exactly as given: a destination that is not a
// web link, a malformed escape or base64 run, look-alike hosts, parameters
// that disagree, text that could disguise the host shown, nesting past the
// bound, a link past the size bound.
TEST(WrappedLink, RealMailAndHostileLinks)
{
    const QString v3Nested = u"https://urldefense.com/v3/__https://nam02.safelinks.protection."
                             u"outlook.com/?url=https*3A*2F*2Fexample.com*2F&data=05*7C02__;"
                             u"JSUlJSU!!CQl3mcHX2A!abcdef$"_s;
    const struct
    {
        QString given, destination, services; // no destination: as given
    } cases[] = {
        {u"https://nam02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%2Freport%3"
         u"Fid%3D7%26lang%3Dja&data=05%7C02%7Cuser%40contoso.com%7Cabc%7C72f988bf%7C1%7C0%7C638123"
         u"%7CUnknown%7CTWFpbGZsb3d8eyJWIjoiMC4wLjAwMDAifQ%3D%3D%7C0%7C%7C%7C&sdata=abc%2Bdef%3D"
         u"&reserved=0"_s,
         u"https://example.com/report?id=7&lang=ja"_s, u"Microsoft Safe Links"_s},
        {u"HTTPS://JPN01.SafeLinks.Protection.Outlook.com?url=http%3a%2f%2fexample.jp%2F"_s,
         u"http://example.jp/"_s, u"Microsoft Safe Links"_s},
        {u"https://statics.teams.cdn.office.net/evergreen-assets/safelinks/1/atp-safelinks.html?url"
         u"=https%3A%2F%2Fexample.com%2Fdoc&locale=ja-jp"_s,
         u"https://example.com/doc"_s, u"Microsoft Safe Links"_s},
        {u"https://outlook.office.com/mail/safelink.html?url=https%3A%2F%2Fexample.com%2F%E6%97%A5"_s,
         u"https://example.com/日"_s, u"Microsoft Safe Links"_s},
        {u"https://urldefense.proofpoint.com/v2/url?u=https-3A__example.com_path-3Fa-3D1-26b-3D2&d="
         u"DwMFaQ&c=euGZstcaTDllvimEN8b7jXrwqOf-v5A_CdpgnVfiiMM&r=x&m=y&s=z&e="_s,
         u"https://example.com/path?a=1&b=2"_s, u"Proofpoint URL Defense"_s},
        {u"https://urldefense.com/v3/__https://example.com/a*b?c=d__;Iw!!BhdT!hJ3k$"_s,
         u"https://example.com/a#b?c=d"_s, u"Proofpoint URL Defense"_s},
        {u"https://urldefense.com/v3/__https://example.com/**Ax__;IyE!!BhdT!hJ3k$"_s,
         u"https://example.com/#!x"_s, u"Proofpoint URL Defense"_s},
        {u"https://urldefense.com/v3/__https://example.com/*/*__;I8O8!!BhdT!$"_s,
         u"https://example.com/#/ü"_s, u"Proofpoint URL Defense"_s},
        {u"https://www.google.com/url?q=https://example.com/page%3Fx%3D1&sa=D&source=editors&ust=17"
         u"00000000000000&usg=AOvVaw0abc"_s,
         u"https://example.com/page?x=1"_s, u"Google"_s},
        {u"https://www.google.co.jp/url?sa=t&rct=j&q=&esrc=s&source=web&cd=&url=https%3A%2F%2Fexampl"
         u"e.jp%2F&usg=AOv"_s,
         u"https://example.jp/"_s, u"Google"_s},
        {u"https://www.google.com.au/url?q=https://example.com.au/"_s, u"https://example.com.au/"_s,
         u"Google"_s},
        {u"https://l.facebook.com/l.php?u=https%3A%2F%2Fexample.com%2F%3Ffbclid%3DIwAR0abc&h=AT0xyz"_s,
         u"https://example.com/?fbclid=IwAR0abc"_s, u"Facebook"_s},
        {u"https://lm.facebook.com/l.php?u=http%3A%2F%2Fexample.com%2F&h=AT0"_s,
         u"http://example.com/"_s, u"Facebook"_s},
        // Nested: each wrapper named once, outermost first.
        {v3Nested, u"https://example.com/"_s, u"Proofpoint URL Defense, Microsoft Safe Links"_s},
        {safeLinks(u"https://www.google.com/url?q=https://example.com/a&sa=D"_s),
         u"https://example.com/a"_s, u"Microsoft Safe Links, Google"_s},
        {nested(WrappedLink::maxDepth, u"https://example.com/"_s), u"https://example.com/"_s,
         u"Microsoft Safe Links"_s},
        {nested(WrappedLink::maxDepth + 1, u"https://example.com/"_s), {}, {}},
        // Not web links.
        {u"https://l.facebook.com/l.php?u=javascript%3Aalert(1)"_s, {}, {}},
        {u"https://www.google.com/url?q=data:text/html,%3Cscript%3E"_s, {}, {}},
        {safeLinks(u"file:///etc/passwd"_s), {}, {}},
        {safeLinks(u"https:///no-host"_s), {}, {}},
        {safeLinks(u"https://www.google.com/url?q=javascript:alert(1)"_s), {}, {}},
        // Malformed.
        {u"https://nam02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%2"_s, {}, {}},
        {u"https://nam02.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%zz"_s, {}, {}},
        {u"https://nam02.safelinks.protection.outlook.com/?data=05"_s, {}, {}},
        {u"https://urldefense.proofpoint.com/v2/url?u=https-3A__example.com-ZZ&d=x"_s, {}, {}},
        {u"https://urldefense.com/v3/__https://example.com/**__;Iw!!BhdT!$"_s, {}, {}},
        {u"https://urldefense.com/v3/__https://example.com/__;Iw!!BhdT!$"_s, {}, {}},
        {u"https://urldefense.com/v3/__https://example.com/*__;I@!!BhdT!$"_s, {}, {}},
        {u"https://urldefense.com/v3/__https://example.com/*__;_w!!BhdT!$"_s, {}, {}},
        {u"https://urldefense.com/v3/__https://example.com/*"_s, {}, {}},
        // Look-alikes, and parameters that disagree.
        {u"https://nam02.safelinks.protection.outlook.com.evil.example/?url=https%3A%2F%2Fbank.example"_s,
         {}, {}},
        {u"https://safelinks.protection.outlook.com/?url=https%3A%2F%2Fbank.example"_s, {}, {}},
        {u"https://www.google.evil.example/url?q=https://bank.example"_s, {}, {}},
        {u"https://www.google.co.evil/url?q=https://bank.example"_s, {}, {}},
        {u"https://l.facebook.com@evil.example/l.php?u=https%3A%2F%2Fbank.example"_s, {}, {}},
        {u"https://evil.example\\@l.facebook.com/l.php?u=https%3A%2F%2Fbank.example"_s, {}, {}},
        {u"https://l.facebook.com/l.php.evil?u=https%3A%2F%2Fbank.example"_s, {}, {}},
        {u"https://www.google.com/url?q=https://evil.example&url=https://bank.example"_s, {}, {}},
        {u"https://www.google.com/url?q=https://bank.example#&q=https://evil.example"_s,
         u"https://bank.example"_s, u"Google"_s},
        // Text that would disguise what is shown.
        {safeLinks(u"https://bank.example\n.evil.example/"_s), {}, {}},
        {safeLinks(u"https://elpmaxe.knab\u202e.evil.example/"_s), {}, {}},
        {safeLinks(u"https://bank.example /"_s), {}, {}},
        // Size.
        {safeLinks(u"https://example.com/"_s + QString(WrappedLink::maxLength, u'a')), {}, {}},
        {QString(100 * 1024, u'%'), {}, {}},
        {u"https://urldefense.com/v3/__"_s + QString(WrappedLink::maxLength - 40, u'*'), {}, {}},
        {u"https://www.google.com/url?"_s + QString(WrappedLink::maxLength - 40, u'&'), {}, {}},
        {QString(), {}, {}},
        {u"https://"_s, {}, {}},
        {u"https://[/url?q=https://example.com"_s, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given.left(200).toStdString());
        const WrappedLink link = WrappedLink::read(c.given);
        EXPECT_EQ(link.given, c.given);
        EXPECT_EQ(link.destination, c.destination.isEmpty() ? c.given : c.destination);
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
