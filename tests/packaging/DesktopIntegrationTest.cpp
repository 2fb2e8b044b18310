// SPDX-License-Identifier: GPL-3.0-or-later
// The installed desktop files as a Qt file manager or file chooser reads them: the MIME package
// compiled by the same tool the system's trigger runs, the icons it names, the program icon.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

namespace {

const QString kGroupType = QStringLiteral("application/x-zadw-group");
const QString kUpdateType = QStringLiteral("application/x-zadw-update");

} // namespace

class DesktopIntegrationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typeByFileName_data();
    void typeByFileName();
    void typeIcons_data();
    void typeIcons();
    void programIcons_data();
    void programIcons();

private:
    QString share_;
    QTemporaryDir dataDir_;
};

void DesktopIntegrationTest::initTestCase() {
    share_ = qEnvironmentVariable("ZADW_STAGE") + QStringLiteral("/usr/share");
    const QString package = share_ + QStringLiteral("/mime/packages/zadw.xml");
    QVERIFY2(QFile::exists(package), qPrintable(package));
    QVERIFY(dataDir_.isValid());

    // Only this package is visible, so the system's own database cannot make a test pass.
    const QString mimeDir = dataDir_.filePath(QStringLiteral("mime"));
    QVERIFY(QDir().mkpath(mimeDir + QStringLiteral("/packages")));
    QVERIFY(QFile::copy(package, mimeDir + QStringLiteral("/packages/zadw.xml")));
    QProcess update;
    update.start(QStringLiteral("update-mime-database"), {mimeDir});
    QVERIFY(update.waitForFinished(30000));
    QVERIFY2(update.exitStatus() == QProcess::NormalExit && update.exitCode() == 0,
             update.readAllStandardError().constData());
    QVERIFY(QFile::exists(mimeDir + QStringLiteral("/mime.cache")));

    qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir_.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataDir_.path()));
}

void DesktopIntegrationTest::typeByFileName_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected"); // empty: neither of ours

    QTest::newRow("group, lower case") << "grupp4.z08" << kGroupType;
    QTest::newRow("group, upper case") << "GRUPP.Z08" << kGroupType;
    QTest::newRow("group, mixed case") << "Grupp.Z08" << kGroupType;
    QTest::newRow("group, path with blanks") << "/home/a/Mina dokument/grupp 4.z08" << kGroupType;
    QTest::newRow("update, lower case") << "x.z18" << kUpdateType;
    QTest::newRow("update, upper case") << "X.Z18" << kUpdateType;
    QTest::newRow("update, mixed case") << "Grupp4.z18" << kUpdateType;
    QTest::newRow("backup of a group") << "grupp.z08.bak" << QString();
    QTest::newRow("longer extension") << "grupp.z080" << QString();
    QTest::newRow("shorter extension") << "grupp.z8" << QString();
    QTest::newRow("no dot") << "z08" << QString();
}

void DesktopIntegrationTest::typeByFileName() {
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (expected.isEmpty()) {
        QVERIFY2(type.name() != kGroupType && type.name() != kUpdateType, qPrintable(type.name()));
    } else {
        QCOMPARE(type.name(), expected);
    }
}

void DesktopIntegrationTest::typeIcons_data() {
    QTest::addColumn<QString>("type");
    QTest::newRow("group") << kGroupType;
    QTest::newRow("update") << kUpdateType;
}

// The icon the file manager asks the theme for must be the one installed.
void DesktopIntegrationTest::typeIcons() {
    QFETCH(QString, type);
    const QMimeType mime = QMimeDatabase().mimeTypeForName(type);
    QVERIFY(mime.isValid());
    QVERIFY(!mime.comment().isEmpty());
    const QString icon = share_ + QStringLiteral("/icons/hicolor/scalable/mimetypes/") +
                         mime.iconName() + QStringLiteral(".svg");
    QVERIFY2(QFile::exists(icon), qPrintable(icon));
    QSvgRenderer renderer(icon);
    QVERIFY2(renderer.isValid(), qPrintable(icon));
}

void DesktopIntegrationTest::programIcons_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("48") << 48;
    QTest::newRow("256") << 256;
}

void DesktopIntegrationTest::programIcons() {
    QFETCH(int, size);
    const QString path = share_ + QStringLiteral("/icons/hicolor/%1x%1/apps/zadw.png").arg(size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
    // Drawn, not blank: the corner lies outside the rounded square, the middle on the sheet.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        std::fprintf(stderr, "skipped: update-mime-database is not installed\n");
        return 77;
    }
    DesktopIntegrationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DesktopIntegrationTest.moc"
