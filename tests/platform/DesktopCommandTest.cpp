// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopCommand.h"

#include "QtPrinting.h"

#include <QStringList>
#include <gtest/gtest.h>

// Exec lines as users and packagers write them. What opens (here a switch and
// a link full of characters a shell or a field-code expander would act on)
// arrives as the same arguments, unchanged, where the entry takes a link.
TEST(DesktopCommand, ExecLines)
{
    const QString link = u"-x y\"'%U;\n$HOME`%%\\"_s;
    const QStringList opening{u"--p=1"_s, link};
    const struct
    {
        QString exec;
        QStringList command; // empty: none
        QString icon = {};
    } cases[] = {
        {u"env A=b /usr/bin/google-chrome-stable %U"_s,
         {u"env"_s, u"A=b"_s, u"/usr/bin/google-chrome-stable"_s, u"--p=1"_s, link}},
        {u"\"/opt/My Browser/chrome\" %U"_s, {u"/opt/My Browser/chrome"_s, u"--p=1"_s, link}},
        {u"'/opt/My Browser/chrome' %u"_s, {u"/opt/My Browser/chrome"_s, u"--p=1"_s, link}},
        {u"chrome --ozone-platform-hint=auto %U --incognito"_s,
         {u"chrome"_s, u"--ozone-platform-hint=auto"_s, u"--p=1"_s, link, u"--incognito"_s}},
        {u"chrome\t%F\n--flag"_s, {u"chrome"_s, u"--p=1"_s, link, u"--flag"_s}},
        {u"chrome\\ beta\\\\ %U"_s, {u"chrome beta\\"_s, u"--p=1"_s, link}},
        {u"chrome %f %U %u"_s, {u"chrome"_s, u"--p=1"_s, link}},
        {u"chrome --a=%u --b=%u"_s, {u"chrome"_s, u"--p=1"_s, u"--a=" + link, u"--b="_s}},
        {u"chrome %i %U"_s, {u"chrome"_s, u"--icon"_s, u"web"_s, u"--p=1"_s, link}, u"web"_s},
        {u"chrome %i %U"_s, {u"chrome"_s, u"--p=1"_s, link}},
        {u"chrome --class=%c --entry=%k %U"_s,
         {u"chrome"_s, u"--class=Web Browser"_s, u"--entry=/a/b.desktop"_s, u"--p=1"_s, link}},
        {u"chrome --x=100%% %d %D %n %N %v %m %U"_s,
         {u"chrome"_s, u"--x=100%"_s, u"--p=1"_s, link}},
        {u"chrome --new-window"_s, {u"chrome"_s, u"--new-window"_s, u"--p=1"_s, link}},
        {u"\"/opt/a\\\"b\\\\c\\$d\\`e\" %U"_s, {u"/opt/a\"b\\c$d`e"_s, u"--p=1"_s, link}},
        {u"\"/opt/a\\b\" %U"_s, {u"/opt/a\\b"_s, u"--p=1"_s, link}},
        {u"\"\" chrome %U"_s, {}},
        {u"\"/opt/unterminated %U"_s, {}},
        {u"chrome 'unterminated"_s, {}},
        {u"  \t "_s, {}},
        {u"/usr/bin/flatpak run --command=chrome com.google.Chrome @@u %U @@"_s,
         {u"/usr/bin/flatpak"_s, u"run"_s, u"--command=chrome"_s, u"com.google.Chrome"_s,
          u"--p=1"_s, link}},
        {u"flatpak run org.chromium.Chromium @@ %F @@ --x"_s,
         {u"flatpak"_s, u"run"_s, u"org.chromium.Chromium"_s, u"--p=1"_s, link, u"--x"_s}},
        {u"flatpak run app @@u %U --x"_s,
         {u"flatpak"_s, u"run"_s, u"app"_s, u"@@u"_s, u"--p=1"_s, link, u"--x"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exec.toStdString());
        DesktopCommand::Entry entry;
        entry.exec = c.exec;
        entry.icon = c.icon;
        entry.name = u"Web Browser"_s;
        entry.path = u"/a/b.desktop"_s;
        const auto command = DesktopCommand::expand(entry, opening);
        EXPECT_EQ(command.value_or(QStringList()), c.command);
    }
}
