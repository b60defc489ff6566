// The drill reads its character file from programDirectory(); started through /usr/bin/tallyvox-number
// (a link) it must still name the folder of the real executable.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

class ProgramDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = QFileInfo(tmp.path()).canonicalFilePath();
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("usr/lib/tvx")));
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("usr/bin")));
        real = root + QStringLiteral("/usr/lib/tvx");
        ASSERT_TRUE(QFile::copy(QStringLiteral(TVX_PROBE), real + QStringLiteral("/probe")));
        expected = real.toStdString();
    }

    // What the probe prints when started as program (with args), PATH and working folder as given.
    std::string runProbe(const QString& program, const QStringList& args = {},
                         const QString& path = QString(), const QString& cwd = QString()) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!path.isEmpty()) env.insert(QStringLiteral("PATH"), path);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(cwd.isEmpty() ? root : cwd);
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(30000))
            << program.toStdString() << ": " << p.errorString().toStdString();
        EXPECT_EQ(p.exitCode(), 0);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed().toStdString();
    }

    bool link(const QString& target, const QString& name) {
        return QFile::link(target, root + QLatin1Char('/') + name);
    }

    QTemporaryDir tmp;
    QString root;
    QString real;
    std::string expected;  // the real folder
};

TEST_F(ProgramDirectoryTest, StartedDirectlyItIsItsOwnFolder) {
    EXPECT_EQ(runProbe(real + QStringLiteral("/probe")), expected);
}

TEST_F(ProgramDirectoryTest, LinksAreResolvedToTheRealExecutablesFolder) {
    // An absolute link, as a user might make one.
    ASSERT_TRUE(link(real + QStringLiteral("/probe"), QStringLiteral("absolute")));
    EXPECT_EQ(runProbe(root + QStringLiteral("/absolute")), expected);
    // The packaged layout: a relative link in usr/bin, and a second link to that link.
    ASSERT_TRUE(link(QStringLiteral("../lib/tvx/probe"), QStringLiteral("usr/bin/tvx")));
    ASSERT_TRUE(link(QStringLiteral("usr/bin/tvx"), QStringLiteral("chained")));
    EXPECT_EQ(runProbe(root + QStringLiteral("/usr/bin/tvx")), expected);
    EXPECT_EQ(runProbe(root + QStringLiteral("/chained")), expected);
    // A linked folder on the way.
    ASSERT_TRUE(link(QStringLiteral("usr/lib/tvx"), QStringLiteral("folder")));
    EXPECT_EQ(runProbe(root + QStringLiteral("/folder/probe")), expected);
}

TEST_F(ProgramDirectoryTest, ABareNameFoundOnThePathResolvesTheSame) {
    // The menu entry runs "tallyvox-number": looked up on PATH (by the shell here, so argv[0] stays the
    // bare name) and started from another folder.
    ASSERT_TRUE(link(QStringLiteral("../lib/tvx/probe"), QStringLiteral("usr/bin/tvx")));
    EXPECT_EQ(runProbe(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec tvx")},
                       root + QStringLiteral("/usr/bin:/usr/bin:/bin"), QDir::tempPath()),
              expected);
}

}  // namespace
