// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLayout.h"

QString FileLayout::baseDirectory(const DirectoryLayout& layout) const
{
    return layout.base == DirectoryLayout::Base::Home ? homeDirectory() : configHome();
}

QString FileLayout::chromeDirectory(const DirectoryLayout& layout) const
{
    return baseDirectory(layout) + u'/' + QString::fromUtf16(layout.chromeData);
}

QString FileLayout::orlimDirectory(const DirectoryLayout& layout) const
{
    return baseDirectory(layout) + u'/' + QString::fromUtf16(layout.orlimData);
}
