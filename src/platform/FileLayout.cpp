// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLayout.h"

QString FileLayout::orlimDirectory(const DirectoryLayout& layout) const
{
    const QString root =
        layout.root == DirectoryLayout::Root::Home ? homeDirectory() : configHome();
    return root + u'/' + QString::fromUtf16(layout.orlimData);
}
