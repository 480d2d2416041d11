// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/DesktopCommand.h"

#include "QtPrinting.h"

#include <QStringList>
#include <gtest/gtest.h>

// Exec lines as users and packagers write them. What opens (here a switch and
// a link full of characters a shell or a field-code expander would act on)
// arrives as the same arguments, unchanged, where the entry takes a link.
TEST(DesktopCommand, ExecLines)
{
    const QString link = u"-x y\"'%U;\n$HOME`%%\\"_s;
    const struct
    {
        QString exec;
        const char* command; // its arguments joined by '|', %1 for the link; "": none
        QString icon = {};
    } cases[] = {
        {u"env A=b /usr/bin/google-chrome-stable %U"_s,
         "env|A=b|/usr/bin/google-chrome-stable|--p=1|%1"},
        {u"\"/opt/My Browser/chrome\" %U"_s, "/opt/My Browser/chrome|--p=1|%1"},
        {u"'/opt/My Browser/chrome' %u"_s, "/opt/My Browser/chrome|--p=1|%1"},
        {u"chrome --ozone-platform-hint=auto %U --incognito"_s,
         "chrome|--ozone-platform-hint=auto|--p=1|%1|--incognito"},
        {u"chrome\t%F\n--flag"_s, "chrome|--p=1|%1|--flag"},
        {u"chrome\\ beta\\\\ %U"_s, "chrome beta\\|--p=1|%1"},
        {u"chrome %f %U %u"_s, "chrome|--p=1|%1"},
        {u"chrome --a=%u --b=%u"_s, "chrome|--p=1|--a=%1|--b="},
        {u"chrome %i %U"_s, "chrome|--icon|web|--p=1|%1", u"web"_s},
        {u"chrome %i %U"_s, "chrome|--p=1|%1"},
        {u"chrome --class=%c --entry=%k %U"_s,
         "chrome|--class=Web Browser|--entry=/a/b.desktop|--p=1|%1"},
        {u"chrome --x=100%% %d %D %n %N %v %m %U"_s, "chrome|--x=100%|--p=1|%1"},
        {u"chrome --new-window"_s, "chrome|--new-window|--p=1|%1"},
        {u"\"/opt/a\\\"b\\\\c\\$d\\`e\" %U"_s, "/opt/a\"b\\c$d`e|--p=1|%1"},
        {u"\"/opt/a\\b\" %U"_s, "/opt/a\\b|--p=1|%1"},
        {u"\"\" chrome %U"_s, ""},
        {u"\"/opt/unterminated %U"_s, ""},
        {u"chrome 'unterminated"_s, ""},
        {u"  \t "_s, ""},
        {u"/usr/bin/flatpak run --command=chrome com.google.Chrome @@u %U @@"_s,
         "/usr/bin/flatpak|run|--command=chrome|com.google.Chrome|--p=1|%1"},
        {u"flatpak run org.chromium.Chromium @@ %F @@ --x"_s,
         "flatpak|run|org.chromium.Chromium|--p=1|%1|--x"},
        {u"flatpak run app @@u %U --x"_s, "flatpak|run|app|@@u|--p=1|%1|--x"},
    };
    for (const auto& c : cases) {
        DesktopCommand::Entry entry{c.exec, c.icon, u"Web Browser"_s, u"/a/b.desktop"_s};
        const auto command = DesktopCommand::expand(entry, {u"--p=1"_s, link});
        EXPECT_EQ(command.value_or(QStringList()).join(u'|'),
                  *c.command ? QString::fromUtf8(c.command).arg(link) : QString())
            << c.exec.toStdString();
    }
}
