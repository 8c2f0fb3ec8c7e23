#include "platform/tavi/Color.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/Pixmap.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi/any.hpp"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace TAVI;

TEST(ColorTest, KindsAndComponents) {
    EXPECT_FALSE(Color().isValid());
    const Color fallback(Color::Default); // the toolkit's own colour for the role
    EXPECT_TRUE(fallback.isValid());
    EXPECT_FALSE(fallback.hasRGBA());

    Color c;
    c.setRGBA(0.5, 0.8, 1.0, 0.5);
    EXPECT_TRUE(c.hasRGBA());
    EXPECT_EQ(c, Color(0.5, 0.8, 1.0, 0.5));
    EXPECT_NE(c, fallback);
    c.setRGBA(-1.0, 2.0, 0.25, std::nan(""));
    EXPECT_EQ(c, Color(0.0, 1.0, 0.25, 0.0));
}

class ImageFilesTest : public ::testing::Test {
protected:
    std::string writeImage(const char* name, int width, int height) {
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::red);
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path, "PNG"));
        return path.toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(ImageFilesTest, PixmapReadsSizeAndRejectsNonImages) {
    const Pixmap pixmap(writeImage("zoom.png", 16, 12));
    EXPECT_FALSE(pixmap.isNull());
    EXPECT_EQ(pixmap.size(), (Size{16, 12}));
    EXPECT_TRUE(Pixmap(dir.filePath("missing.png").toStdString()).isNull());

    QFile text(dir.filePath("notes.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an image");
    text.close();
    EXPECT_TRUE(Pixmap(text.fileName().toStdString()).isNull());
}

TEST_F(ImageFilesTest, IconValidityAndEquality) {
    const std::string file = writeImage("block.png", 8, 8);
    const Icon icon(file, 0, 0);
    EXPECT_TRUE(icon.isValid());
    EXPECT_EQ(icon, Icon(file, 0, 0));
    EXPECT_FALSE(icon == Icon(file, 1, 0));
    EXPECT_FALSE(Icon(dir.filePath("none.png").toStdString(), 0, 0).isValid());
    EXPECT_FALSE(Icon().isValid());
    EXPECT_TRUE(Icon("", 0, 0).isNull());

    Icon both(file, 0, 0);
    both.addFile(dir.filePath("on.png").toStdString(), 0, 1);
    EXPECT_EQ(both.getFile(0, 1), dir.filePath("on.png").toStdString());
    EXPECT_EQ(both.getFile(2, 0), file); // falls back to normal, off
}

TEST(anyTest, ConvertsValuesToText) {
    EXPECT_EQ(any(42).convertToString(), "42");
    EXPECT_EQ(any(0.1).convertToString(), "0.1");
    EXPECT_EQ(any(true).convertToString(), "true");
    EXPECT_EQ(any("text").convertToString(), "text");
    EXPECT_EQ(any(StringID("Gain")).convertToString(), "Gain");
    EXPECT_EQ(any().convertToString(), "");
    struct Opaque {};
    EXPECT_NE(any(Opaque{}).convertToString().find("Opaque"), std::string::npos);

    const any value(std::string("abc"));
    EXPECT_EQ(value.type(), TypeInfo::get<std::string>());
    EXPECT_EQ(TypeInfo::get<std::string>().convertToString(value), "abc");
}

TEST(anyTest, WrongTypeIsAnInvalidArgument) {
    const any value(3);
    EXPECT_EQ(any_cast<int>(value), 3);
    EXPECT_EQ(value.get<double>(), nullptr);
    EXPECT_THROW(any_cast<double>(value), TypedException);
    EXPECT_THROW(TypeInfo::get<double>().convertToString(value), TypedException);
}
