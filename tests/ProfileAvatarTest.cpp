#include "ui/ProfileAvatarView.h"

#include "FakePlatform.h"

#include <QImage>
#include <QPainter>

TEST(ProfileAvatar, Initials)
{
    const std::pair<QString, QString> cases[] = {
        {u"  alice"_qs, u"A"_qs},      {u"e\u0301douard"_qs, u"E\u0301"_qs},
        {u"ßtraße"_qs, u"SS"_qs},      {u"👩‍💻 dev"_qs, u"👩‍💻"_qs},
        {u" \n\t\u3000 "_qs, u"?"_qs},
    };
    for (const auto& [name, initial] : cases)
        EXPECT_EQ(ProfileAvatarView::initial(name), initial) << name.toStdString();
}

// The letter avatar: the fill colour (packed ARGB, bits above 32 ignored) at
// any scale, transparent corners. A picture fills the circle, clipped to it.
TEST(ProfileAvatar, Pixels)
{
    constexpr int side = 60;
    const auto render = [](const ChromeProfile& profile, qreal scale = 1) {
        QImage image(QSize(side, side) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        ProfileAvatarView::paint(painter, QRectF(0, 0, side, side), profile, QPalette());
        return image;
    };
    ChromeProfile profile{u"Default"_qs, u"   "_qs, {}, 0x12345678'ff3366ccLL, -1};
    const QImage letter = render(profile, 2);
    EXPECT_EQ(letter.pixelColor(24, side), QColor(0x33, 0x66, 0xcc));
    EXPECT_EQ(letter.pixelColor(1, 1).alpha(), 0) << "corners are transparent";
    FakePlatform platform;
    QImage picture(40, 80, QImage::Format_RGB32); // portrait: the fill crops top and bottom
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save(platform.root.path() + u"/picture.png"));
    profile.pictureURL = QUrl::fromLocalFile(platform.root.path() + u"/picture.png");
    profile.fillColor = qint64(0xffff0000);
    const QImage image = render(profile);
    EXPECT_EQ(image.pixelColor(4, side / 2), QColor(0, 200, 0)) << "fills the width";
    EXPECT_EQ(image.pixelColor(side - 2, side - 2).alpha(), 0) << "clipped to the circle";
}
