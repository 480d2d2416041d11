// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/WrappedLinkSection.h"

#include "rules/WrappedLinkSetting.h"
#include "ui/look/Widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

QWidget* wrappedLinkSection(WrappedLinkSetting& setting, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QStringLiteral("wrappedLinks"));
    auto* rows = new QVBoxLayout(widget);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    rows->addWidget(Widgets::text(QStringLiteral("転送サービス経由のリンク"),
                                  Typography::Role::Headline, widget));
    auto* box = new QCheckBox(QStringLiteral("転送先を直接開く"), widget);
    box->setFont(Typography::font(Typography::Role::Callout));
    box->setChecked(setting.opensDestination());
    QObject::connect(box, &QCheckBox::clicked, widget, [&setting, box](bool on) {
        setting.setOpensDestination(on);
        box->setChecked(setting.opensDestination());
    });
    rows->addWidget(box);
    QLabel* note = Widgets::text(
        QStringLiteral("Safe Links などの転送サービス経由のリンクは、選択ウィンドウに転送先を"
                       "表示します。オフのときは元のリンクのまま開き、組織によるクリック時の確認も"
                       "行われます。"),
        Typography::Role::Caption2, widget, Palette::Tone::Secondary);
    note->setWordWrap(true);
    rows->addWidget(note);
    return widget;
}
