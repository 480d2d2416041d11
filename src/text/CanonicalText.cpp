// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/CanonicalText.h"

#include <QHash>
#include <QTextBoundaryFinder>

namespace CanonicalText {

QString normalized(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C);
}

bool equal(const QString& a, const QString& b)
{
    return a == b || normalized(a) == normalized(b);
}

bool startsWith(const QString& text, const QString& prefix)
{
    const QString t = text.normalized(QString::NormalizationForm_D);
    const QString p = prefix.normalized(QString::NormalizationForm_D);
    if (!t.startsWith(p))
        return false;
    if (p.size() == t.size() || p.isEmpty())
        return true;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, t);
    graphemes.setPosition(p.size());
    return graphemes.isAtBoundary();
}

} // namespace CanonicalText
