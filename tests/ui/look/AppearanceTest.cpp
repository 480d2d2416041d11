// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Appearance.h"
#include "ui/look/LinkLabel.h"
#include "ui/look/Palette.h"
#include "ui/look/ProfileAvatarView.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/settings/SettingsView.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScopeGuard>

#include <map>

using Preference = ColorScheme::Preference;

namespace {

/// The contrast of what is drawn in `area` of `image`: its most common colour
/// (the background) against the colour that stands out from it most (the
/// text's, or the sign's).
double drawnContrast(const QImage& image, const QRect& area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    const QColor background(
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first);
    double most = 1;
    for (const auto& [rgb, count] : counts)
        most = std::max(most, Palette::contrast(QColor(rgb), background));
    return most;
}

/// Letter avatars with no colour, a light and a dark one of Chrome's.
QList<ChromeProfile> avatars()
{
    return {{u"Default"_s, u"Personal"_s, {}, {}, {}},
            {u"Profile 1"_s, u"work"_s, {}, {}, {}},
            {u"Profile 2"_s, u"Ünï"_s, {}, qint64(0xFFF1F3F4), qint64(0xFF5F6368)},
            {u"Profile 3"_s, u"Dark"_s, {}, qint64(0xFF202124), qint64(0xFF3C4043)}};
}

} // namespace

// The windows follow the desktop: dark, and back to Qt's own with no
// preference, turning a window that is open; the link's secondary text turns
// with them. A palette that already matches (a platform theme's, with the
// user's own colours) is kept as it is.
TEST(Appearance, FollowsThePreferenceAndEverythingReads)
{
    FakePlatform platform;
    const QPalette qtOwn = QApplication::palette();
    const auto putBack = qScopeGuard([&] {
        QApplication::setPalette(qtOwn);
        Palette::retone();
    });
    ASSERT_FALSE(Palette::isDark(qtOwn));
    Appearance::follow(platform.colorScheme, qtOwn);
    ProfilePickerView picker(u"https://example.com/"_s, oneBrowser(avatars()), {}, {});
    picker.show();
    // A profile the browser gives no colour (Firefox's without a theme) is
    // drawn on one told by its name alone, the same in every run.
    const QList<ProfileAvatarView*> letters = picker.findChildren<ProfileAvatarView*>();
    ASSERT_GE(letters.size(), 2);
    for (const auto& [avatar, colour] : {std::pair{letters[0], 0xbf360c}, {letters[1], 0xc62828}})
        EXPECT_EQ(avatar->grab().toImage().pixelColor(5, 15), QColor(QRgb(colour)));
    const auto linkColour = [&] {
        return picker.findChild<LinkLabel*>()->palette().color(QPalette::WindowText);
    };
    const QColor lightLink = linkColour();

    platform.colorScheme.tell(Preference::Dark);
    QCoreApplication::processEvents();
    // The dark palette's text, #f2f2f7, at three quarters.
    EXPECT_EQ(linkColour(), QColor::fromRgbF(0xf2 / 255.f, 0xf2 / 255.f, 0xf7 / 255.f, 0.75f));
    platform.colorScheme.tell(Preference::None);
    EXPECT_EQ(QApplication::palette(), qtOwn);
    EXPECT_EQ(linkColour(), lightLink);

    QPalette usersDark = Palette::dark();
    usersDark.setColor(QPalette::Highlight, QColor(200, 0, 120));
    Appearance::apply(Preference::Dark, usersDark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), QColor(200, 0, 120));
    Appearance::apply(Preference::Light, usersDark);
    EXPECT_FALSE(Palette::isDark(QApplication::palette()));

    // Rendered in light and in dark, every text of the picker (a row selected)
    // and of the settings (the warning shown) stands out from what is behind it,
    // 4.5:1, as does the warning's sign, 3:1; every letter avatar's initial
    // against its fill, 3:1, whatever colours Chrome gave it.
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/two-profiles.json")));
    for (const QPalette& scheme : {Palette::light(), Palette::dark()}) {
        SCOPED_TRACE(Palette::isDark(scheme) ? "dark" : "light");
        QApplication::setPalette(scheme);
        Palette::retone();
        ProfilePickerView picker(u"https://example.com/a/long/path?q=1"_s, oneBrowser(avatars()),
                                 {}, {});
        picker.model().handleKey(ProfilePickerModel::Key::Down);
        SettingsView settings(
            {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}});
        settings.appear();
        ASSERT_TRUE(settings.findChild<QWidget*>(u"warning"_s));
        for (QWidget* view : {static_cast<QWidget*>(&picker), static_cast<QWidget*>(&settings)}) {
            view->show();
            const QImage image = view->grab().toImage();
            int measured = 0;
            for (const QLabel* label : view->findChildren<QLabel*>()) {
                if (!label->isVisible() || (label->text().trimmed().isEmpty() && !label->pixmap()))
                    continue;
                const QRect area(label->mapTo(view, QPoint(0, 0)), label->size());
                const double least = label->text().isEmpty() ? 3.0 : 4.5;
                EXPECT_GE(drawnContrast(image, area & image.rect()), least)
                    << label->text().toStdString();
                ++measured;
            }
            EXPECT_GE(measured, 5);
            // The initial against the fill around it.
            for (const ProfileAvatarView* avatar : view->findChildren<ProfileAvatarView*>()) {
                const QRect box(avatar->mapTo(view, QPoint(0, 0)), avatar->size());
                EXPECT_GE(drawnContrast(image, box.adjusted(box.width() / 4, box.height() / 4,
                                                            -box.width() / 4, -box.height() / 4)),
                          3.0);
            }
        }
    }
}
