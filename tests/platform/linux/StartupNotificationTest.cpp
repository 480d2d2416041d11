// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/StartupNotification.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

// The startup-notification message that ends a launcher's wait, in the
// protocol's 20-byte pieces, its ID quoted where it needs to be.
TEST(StartupNotification, RemoveMessage)
{
    EXPECT_EQ(StartupNotification::removeMessage(u"a \"b\\"_s),
              QByteArray(R"(remove: ID="a \"b\\")"));
    EXPECT_EQ(
        StartupNotification::pieces(StartupNotification::removeMessage(u"gio-42_TIME7"_s)),
        (QList<QByteArray>{"remove: ID=gio-42_TI", QByteArray("ME7").leftJustified(20, '\0')}));
    EXPECT_EQ(StartupNotification::pieces(QByteArray(19, 'x')).size(), 1) << "the NUL fits";
}
