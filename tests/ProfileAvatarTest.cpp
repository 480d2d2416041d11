#include "ui/ProfileAvatarView.h"

#include "FakePlatform.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr int side = 60;

QImage render(const ChromeProfile& profile, qreal devicePixelRatio = 1)
{
    QImage image(QSize(side, side) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ProfileAvatarView::paint(painter, QRectF(0, 0, side, side), profile, QPalette());
    return image;
}

ChromeProfile named(const QString& name)
{
    return {u"Default"_qs, name, std::nullopt, std::nullopt, std::nullopt};
}

} // namespace

TEST(ProfileAvatar, Initials)
{
    const std::pair<QString, QString> cases[] = {
        {u"  alice"_qs, u"A"_qs},      {u"山田"_qs, u"山"_qs},
        {u"édouard"_qs, u"É"_qs},      {u"e\u0301douard"_qs, u"E\u0301"_qs},
        {u"ßtraße"_qs, u"SS"_qs},      {u"👩‍💻 dev"_qs, u"👩‍💻"_qs},
        {u"🇯🇵 travel"_qs, u"🇯🇵"_qs},   {QString(), u"?"_qs},
        {u" \n\t\u3000 "_qs, u"?"_qs},
    };
    for (const auto& [name, initial] : cases)
        EXPECT_EQ(ProfileAvatarView::initial(name), initial) << name.toStdString();
}

// The letter avatar: the fill colour (packed ARGB, bits above 32 ignored) at
// the centre's edge, the ring drawn even when the fill is invisible,
// transparent corners.
TEST(ProfileAvatar, LetterAvatarPixels)
{
    ChromeProfile profile = named(u"   "_qs); // "?" leaves most of the disc bare
    profile.fillColor = 0x12345678'ff3366ccLL;
    profile.strokeColor = -1;
    for (const qreal dpr : {1.0, 2.0}) {
        const QImage image = render(profile, dpr);
        const QColor fill = image.pixelColor(QPoint(12, side / 2) * dpr);
        EXPECT_EQ(fill, QColor(0x33, 0x66, 0xcc)) << dpr;
        EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << "corners are transparent";
    }

    profile.fillColor = 16777215; // invisible disc
    const QImage invisible = render(profile);
    EXPECT_EQ(invisible.pixelColor(12, side / 2).alpha(), 0);
    EXPECT_GT(invisible.pixelColor(0, side / 2).alpha() + invisible.pixelColor(1, side / 2).alpha(),
              0)
        << "the ring is still drawn";
}

// A real picture fills the circle and is clipped to it; a file that is not an
// image gives the letter avatar.
TEST(ProfileAvatar, PictureAvatar)
{
    FakePlatform platform;
    const QString picturePath = platform.root() + u"/picture.png";
    QImage picture(40, 80, QImage::Format_RGB32); // portrait: aspect fill crops top and bottom
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save(picturePath));

    ChromeProfile profile = named(u"Pic"_qs);
    profile.pictureURL = QUrl::fromLocalFile(picturePath);
    profile.fillColor = qint64(0xffff0000);
    const QImage image = render(profile);
    EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(0, 200, 0));
    EXPECT_EQ(image.pixelColor(4, side / 2), QColor(0, 200, 0)) << "fills the width";
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << "clipped to the circle";
    EXPECT_EQ(image.pixelColor(side - 2, side - 2).alpha(), 0);

    const QString textPath = platform.root() + u"/not-a-picture.png";
    writeFile(textPath, "this is text, not an image");
    profile.pictureURL = QUrl::fromLocalFile(textPath);
    EXPECT_EQ(render(profile).pixelColor(8, side / 2), QColor(255, 0, 0))
        << "letter avatar instead";
}
