// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Typography.h"

#include <QApplication>
#include <QFontDatabase>

namespace Typography {
namespace {

// Sizes relative to a body size of 13, as on the desktop these roles come from.
struct Metrics
{
    qreal size;
    QFont::Weight weight;
};

Metrics metrics(Role role)
{
    switch (role) {
    case Role::Title2:
        return {17, QFont::Bold};
    case Role::Title3:
        return {15, QFont::Normal};
    case Role::Headline:
        return {13, QFont::DemiBold};
    case Role::Body:
        return {13, QFont::Normal};
    case Role::Callout:
        return {12, QFont::Normal};
    case Role::Caption:
        return {10, QFont::Normal};
    case Role::Caption2:
        return {10, QFont::Normal};
    }
    return {13, QFont::Normal};
}

/// Japanese faces, best first. The interface is Japanese: its kanji must take
/// Japanese shapes even where the locale or the font set-up would pick a
/// Chinese or Korean face for them.
constexpr const char16_t* japaneseFaces[] = {
    u"Noto Sans CJK JP", u"Source Han Sans JP", u"IPAexGothic",          u"IPAGothic",
    u"TakaoGothic",      u"VL Gothic",          u"Noto Sans Mono CJK JP"};

/// `font` with a Japanese face first, where one is installed; its own after.
QFont withJapaneseFaces(QFont font)
{
    QStringList families;
    for (const char16_t* face : japaneseFaces)
        families.append(QString::fromUtf16(face));
    for (const QString& own :
         font.families().isEmpty() ? QStringList{font.family()} : font.families()) {
        if (!families.contains(own))
            families.append(own);
    }
    font.setFamilies(families);
    return font;
}

QFont scaled(QFont base, Role role)
{
    base = withJapaneseFaces(base);
    const Metrics m = metrics(role);
    const qreal body =
        QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF() : 10;
    base.setPointSizeF(body * m.size / 13.0);
    base.setWeight(m.weight);
    return base;
}

} // namespace

void preferJapaneseFaces()
{
    QApplication::setFont(withJapaneseFaces(QApplication::font()));
}

QFont font(Role role)
{
    return scaled(QApplication::font(), role);
}

QFont monospaced(Role role)
{
    return scaled(QFontDatabase::systemFont(QFontDatabase::FixedFont), role);
}

} // namespace Typography
