// Converts the program's XPM icon into PNG files for the desktop's icon theme.
//
//   xpm2png INPUT.xpm SIZE OUTPUT.png [SIZE OUTPUT.png]...
//
// Each SIZE must be a whole multiple of the icon's own size, so that the
// enlargement repeats every pixel into a square block and the pixel art stays
// crisp instead of being smoothed. Runs at build time; needs no display.

#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: xpm2png INPUT.xpm SIZE OUTPUT.png [SIZE OUTPUT.png]...\n");
        return 2;
    }

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QImage icon(input, "XPM");
    if (icon.isNull()) {
        std::fprintf(stderr, "xpm2png: cannot read %s as XPM\n", argv[1]);
        return 1;
    }
    if (icon.width() != icon.height()) {
        std::fprintf(stderr, "xpm2png: %s is %dx%d, not square\n", argv[1], icon.width(),
                     icon.height());
        return 1;
    }

    for (int i = 2; i < argc; i += 2) {
        bool isNumber = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&isNumber);
        if (!isNumber || size < icon.width() || size % icon.width() != 0) {
            std::fprintf(stderr, "xpm2png: size %s is not a whole multiple of %d\n", argv[i],
                         icon.width());
            return 1;
        }
        // Qt::FastTransformation picks the nearest source pixel: no blending.
        const QImage scaled =
            icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!scaled.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "xpm2png: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
