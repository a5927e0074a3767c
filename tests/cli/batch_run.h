#pragma once

// Runs of the built kadrix-batch in a temporary folder, and what they must give.

#include "jpeg_test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

#include <pty.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace kadrix::cli {

struct Outcome {
    int status; // -1 when the program did not end by itself
    QString out, err;
    QByteArray bytes; // the standard output as written
};

// One run and what it must give. "~/" stands for the test's folder in the
// arguments, texts and files. Each text must stand within its stream, an
// empty one meaning that the stream stays empty; each file must be a picture
// of the size given, or be absent when the size is empty.
struct RunCase {
    const char* what;
    QStringList arguments;
    int status;
    QStringList out = {}, err = {};
    std::vector<std::pair<QString, QSize>> files = {};
    QByteArray input = {};
    const char* lang = "C.UTF-8";
    const char* outFile = nullptr; // standard output goes there (/dev/full) instead
    qint64 fileLimit = 0;          // the run's file size limit in bytes, 0 for none
    const char* inFile = nullptr;  // standard input comes from there (/dev/zero) instead
    QStringList environment = {};  // "NAME=value" added to the run's environment
    bool terminal = false;         // standard output is a (pseudo-)terminal
};

class BatchRunTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    static QProcessEnvironment speaking(const char* lang) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
        return env;
    }

    // In an English locale unless told otherwise, from the test's folder.
    Outcome run(const QStringList& arguments, const QByteArray& input = {},
                const QProcessEnvironment& env = speaking("C.UTF-8"), const char* outFile = nullptr,
                qint64 fileLimit = 0, const char* inFile = nullptr, bool terminal = false) {
        QProcess process;
        if (outFile)
            process.setStandardOutputFile(QString::fromLatin1(outFile));
        int master = -1, slave = -1;
        if (terminal) {
            EXPECT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0) << "no terminal";
            process.setStandardOutputFile(QString::fromLocal8Bit(::ttyname(slave)));
        }
        if (inFile)
            process.setStandardInputFile(QString::fromLatin1(inFile));
        if (fileLimit > 0)
            process.setChildProcessModifier([fileLimit] {
                const rlimit limit{rlim_t(fileLimit), rlim_t(fileLimit)};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(KADRIX_BATCH_PATH), arguments);
        if (!inFile) {
            process.write(input);
            process.closeWriteChannel();
        }
        EXPECT_TRUE(process.waitForFinished(60000));
        for (const int fd : {master, slave})
            if (fd >= 0)
                ::close(fd);
        const QByteArray out = process.readAllStandardOutput();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(out), QString::fromLocal8Bit(process.readAllStandardError()),
                out};
    }

    QString here(QString text) const {
        return text.replace(QStringLiteral("~/"), dir.path() + u'/');
    }

    void expectRun(const RunCase& c) {
        SCOPED_TRACE(c.what);
        QStringList arguments;
        for (const QString& argument : c.arguments)
            arguments << here(argument);
        QProcessEnvironment env = speaking(c.lang);
        for (const QString& setting : c.environment)
            env.insert(setting.section(u'=', 0, 0), here(setting.section(u'=', 1)));
        const Outcome r =
            run(arguments, c.input, env, c.outFile, c.fileLimit, c.inFile, c.terminal);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        for (const auto& [stream, texts] : {std::pair{r.out, c.out}, std::pair{r.err, c.err}})
            for (const QString& text : texts)
                EXPECT_TRUE(text.isEmpty() ? stream.isEmpty() : stream.contains(here(text)))
                    << text.toStdString() << " in: " << stream.toStdString();
        for (const auto& [file, size] : c.files) {
            if (size.isEmpty())
                EXPECT_FALSE(QFileInfo::exists(here(file))) << file.toStdString();
            else
                EXPECT_EQ(QImage(here(file)).size(), size) << file.toStdString();
        }
    }

    QString writeJpeg(const QString& name, int w, int h) {
        return write(name, test::encodeRaw(test::photoLike(w, h)));
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

} // namespace kadrix::cli
