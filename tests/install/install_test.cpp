// Installs the build into a temporary prefix, as `make install PREFIX=...`
// does, and checks what a desktop finds there.
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kadrix {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString output; // standard output and error together
};

ToolRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The value of `key` in the desktop entry's main group.
QString desktopValue(const QString& entry, const QString& key) {
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(entry).captured(1).trimmed();
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefixDir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(prefixDir_->isValid());
        installRun_ = run(QStringLiteral(KADRIX_CMAKE),
                          {QStringLiteral("--install"), QStringLiteral(KADRIX_BUILD_DIR),
                           QStringLiteral("--prefix"), prefixDir_->path()});
    }
    static void TearDownTestSuite() { prefixDir_.reset(); }

    void SetUp() override {
        ASSERT_EQ(installRun_.exitCode, 0) << installRun_.output.toStdString();
    }
    static QString installed(const QString& relative) {
        return QDir(prefixDir_->path()).filePath(relative);
    }
    static QString desktopEntryPath() {
        return installed(QStringLiteral("share/applications/%1.desktop").arg(DesktopId));
    }
    static QString metainfoPath() {
        return installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(DesktopId));
    }

    static inline std::unique_ptr<QTemporaryDir> prefixDir_;
    static inline ToolRun installRun_;
};

TEST_F(InstallTest, EveryFileIsInPlace) {
    const QString id = QString::fromLatin1(DesktopId);
    const QStringList files = {
        QStringLiteral("bin/kadrix"),
        QStringLiteral("bin/kadrix-batch"),
        QStringLiteral("share/applications/%1.desktop").arg(id),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(id),
        QStringLiteral("share/man/man1/kadrix.1"),
        QStringLiteral("share/man/man1/kadrix-batch.1"),
        QStringLiteral("share/bash-completion/completions/kadrix-batch"),
        QStringLiteral("share/zsh/vendor-completions/_kadrix-batch"),
    };
    for (const QString& file : files)
        EXPECT_TRUE(QFileInfo(installed(file)).isFile()) << file.toStdString();
    for (const QString& program :
         {QStringLiteral("bin/kadrix"), QStringLiteral("bin/kadrix-batch")})
        EXPECT_TRUE(QFileInfo(installed(program)).isExecutable()) << program.toStdString();
}

TEST_F(InstallTest, IconsHaveTheSizeTheirFolderNames) {
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = installed(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(side).arg(DesktopId));
        const QImage icon(file);
        ASSERT_FALSE(icon.isNull()) << file.toStdString();
        EXPECT_EQ(icon.size(), QSize(side, side)) << file.toStdString();
    }
}

TEST_F(InstallTest, DesktopEntryIsValidAndNamesWhatIsInstalled) {
    const ToolRun validation = run(QStringLiteral("desktop-file-validate"), {desktopEntryPath()});
    EXPECT_EQ(validation.exitCode, 0) << validation.output.toStdString();
    EXPECT_FALSE(validation.output.contains(QStringLiteral("error"), Qt::CaseInsensitive))
        << validation.output.toStdString();

    const QString entry = readText(desktopEntryPath());
    const QString exec = desktopValue(entry, QStringLiteral("Exec")).section(u' ', 0, 0);
    EXPECT_TRUE(QFileInfo(installed(QStringLiteral("bin/") + exec)).isExecutable())
        << exec.toStdString();
    EXPECT_EQ(desktopValue(entry, QStringLiteral("Icon")), QString::fromLatin1(DesktopId));
}

TEST_F(InstallTest, StartupWMClassIsTheWindowClassTheProgramSets) {
    // Under X11 the window class is the application name.
    const QString before = QApplication::applicationName();
    setProgramIdentity();
    const QString windowClass = QApplication::applicationName();
    QApplication::setApplicationName(before);
    EXPECT_EQ(desktopValue(readText(desktopEntryPath()), QStringLiteral("StartupWMClass")),
              windowClass);
}

TEST_F(InstallTest, MetainfoIsValidAndDescribesThisRelease) {
    const ToolRun validation =
        run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--explain"), metainfoPath()});
    // Warnings and hints are allowed, errors are not (they are the lines
    // that begin with "E:").
    ASSERT_TRUE(validation.output.contains(QStringLiteral("Validation")))
        << validation.output.toStdString();
    const QRegularExpression error(QStringLiteral("^E: "), QRegularExpression::MultilineOption);
    EXPECT_FALSE(error.match(validation.output).hasMatch()) << validation.output.toStdString();

    const QString metainfo = readText(metainfoPath());
    EXPECT_TRUE(metainfo.contains(
        QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(DesktopId)));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<release version=\"%1\"").arg(KADRIX_VERSION)));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<screenshot type=\"default\">")));
}

TEST_F(InstallTest, ManualPageDocumentsEveryOptionOfTheHelp) {
    const ToolRun help =
        run(installed(QStringLiteral("bin/kadrix-batch")), {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0) << help.output.toStdString();
    // In the page's source every "-" of an option is written "\-".
    const QString page = readText(installed(QStringLiteral("share/man/man1/kadrix-batch.1")));
    const QRegularExpression option(QStringLiteral("^\\s+(?:-\\w, )?(--[\\w-]+)"),
                                    QRegularExpression::MultilineOption);
    int options = 0;
    for (const QRegularExpressionMatch& m : option.globalMatch(help.output)) {
        ++options;
        QString escaped = m.captured(1);
        escaped.replace(QLatin1Char('-'), QStringLiteral("\\-"));
        EXPECT_TRUE(page.contains(escaped)) << m.captured(1).toStdString();
    }
    EXPECT_GT(options, 10);
}

TEST_F(InstallTest, ShellCompletionsOfferEveryOptionOfTheHelp) {
    const QString bash =
        installed(QStringLiteral("share/bash-completion/completions/kadrix-batch"));
    const QString zsh = installed(QStringLiteral("share/zsh/vendor-completions/_kadrix-batch"));
    const ToolRun syntax = run(QStringLiteral("bash"), {QStringLiteral("-n"), bash});
    EXPECT_EQ(syntax.exitCode, 0) << syntax.output.toStdString();
    if (!QStandardPaths::findExecutable(QStringLiteral("zsh")).isEmpty()) {
        const ToolRun zshSyntax = run(QStringLiteral("zsh"), {QStringLiteral("-n"), zsh});
        EXPECT_EQ(zshSyntax.exitCode, 0) << zshSyntax.output.toStdString();
    }
    // What bash offers after a lone "-", one a line.
    const ToolRun offered =
        run(QStringLiteral("bash"),
            {QStringLiteral("-c"),
             QStringLiteral("source \"$0\"; COMP_WORDS=(kadrix-batch -); COMP_CWORD=1; "
                            "_kadrix_batch; printf '%s\\n' \"${COMPREPLY[@]}\""),
             bash});
    const QStringList bashOptions = offered.output.split(u'\n', Qt::SkipEmptyParts);
    const QString zshScript = readText(zsh);

    const ToolRun help =
        run(installed(QStringLiteral("bin/kadrix-batch")), {QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0) << help.output.toStdString();
    const QRegularExpression option(QStringLiteral("^\\s+(?:(-\\w), )?(--[\\w-]+)"),
                                    QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& m : option.globalMatch(help.output)) {
        for (const QString& name : {m.captured(1), m.captured(2)}) {
            if (name.isEmpty())
                continue;
            EXPECT_TRUE(bashOptions.contains(name)) << "bash: " << name.toStdString();
            // In the zsh script an option stands after {, ', "," or ) and before =, +, [, }
            // or ",".
            const QRegularExpression zshOption(
                QStringLiteral("[{',)]%1[=+\\[},]").arg(QRegularExpression::escape(name)));
            EXPECT_TRUE(zshOption.match(zshScript).hasMatch()) << "zsh: " << name.toStdString();
        }
    }
}

} // namespace
} // namespace kadrix
