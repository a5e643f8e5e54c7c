// The theme icons are the program's XPM icon enlarged pixel by pixel, and the
// converter that makes them at build time refuses what it cannot convert that
// way instead of writing a blurred or wrong icon.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ThemeIconTest : public QObject
{
    Q_OBJECT

private slots:
    void installedIconRepeatsEachPixel_data();
    void installedIconRepeatsEachPixel();
    void converterRefuses_data();
    void converterRefuses();
};

void ThemeIconTest::installedIconRepeatsEachPixel_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("32") << 32;
    QTest::newRow("64") << 64;
    QTest::newRow("128") << 128;
}

void ThemeIconTest::installedIconRepeatsEachPixel()
{
    QFETCH(int, size);
    const QImage source =
        QImage(QStringLiteral(RILO_SOURCE_ICON)).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(source.size(), QSize(32, 32));
    const QString path =
        QStringLiteral(RILO_INSTALL_ROOT "/usr/share/icons/hicolor/%1x%1/apps/rilo_mj.png")
            .arg(size);
    const QImage icon = QImage(path, "PNG").convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!icon.isNull(), qPrintable(path));
    QCOMPARE(icon.size(), QSize(size, size));

    const int scale = size / source.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb want = source.pixel(x / scale, y / scale);
            const QRgb got = icon.pixel(x, y);
            if (got != want)
                QFAIL(qPrintable(
                    QStringLiteral("pixel (%1, %2) is #%3, the icon's pixel there is #%4")
                        .arg(x)
                        .arg(y)
                        .arg(got, 8, 16, QLatin1Char('0'))
                        .arg(want, 8, 16, QLatin1Char('0'))));
        }
    }
}

void ThemeIconTest::converterRefuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    // Relative names are in a scratch folder that holds "wide.xpm", a 2x1
    // picture, and "text.xpm", which is no picture.
    const QString icon = QStringLiteral(RILO_SOURCE_ICON);
    QTest::newRow("missing input") << QStringList{"absent.xpm", "32", "out.png"};
    QTest::newRow("input not XPM") << QStringList{"text.xpm", "32", "out.png"};
    QTest::newRow("input not square") << QStringList{"wide.xpm", "2", "out.png"};
    QTest::newRow("size not a multiple") << QStringList{icon, "48", "out.png"};
    QTest::newRow("size below the icon's") << QStringList{icon, "16", "out.png"};
    QTest::newRow("size zero") << QStringList{icon, "0", "out.png"};
    QTest::newRow("size not a number") << QStringList{icon, "big", "out.png"};
    QTest::newRow("size without output") << QStringList{icon, "32"};
    QTest::newRow("unwritable output") << QStringList{icon, "32", "no/such/folder/out.png"};
}

void ThemeIconTest::converterRefuses()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const auto write = [&](const char *name, const QByteArray &content) {
        QFile file(scratch.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    QVERIFY(
        write("wide.xpm",
              "/* XPM */\nstatic const char *w[] = {\n\"2 1 1 1\",\n\". c #FFFFFF\",\n\"..\"};\n"));
    QVERIFY(write("text.xpm", "not a picture\n"));

    QProcess converter;
    converter.setWorkingDirectory(scratch.path());
    converter.start(QStringLiteral(RILO_XPM2PNG), arguments);
    QVERIFY(converter.waitForFinished(10000));
    QCOMPARE(converter.exitStatus(), QProcess::NormalExit);
    QVERIFY2(converter.exitCode() != 0, "the converter reported success");
    QVERIFY2(!converter.readAllStandardError().trimmed().isEmpty(), "the converter gave no reason");
    QVERIFY2(!QFile::exists(scratch.filePath("out.png")), "the converter wrote an icon");
}

QTEST_GUILESS_MAIN(ThemeIconTest)

#include "ThemeIconTest.moc"
