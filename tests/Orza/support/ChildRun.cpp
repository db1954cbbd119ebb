#include "support/ChildRun.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

namespace OrzaTest {

namespace {

constexpr const char* childVariable = "ORZA_TEST_CHILD_RUN";

} // namespace

bool isChildRun() {
    return qEnvironmentVariableIsSet(childVariable);
}

bool runInChild(QByteArray& output, const QStringList& variables) {
    QString test = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* tag = QTest::currentDataTag(); tag && *tag) test += QLatin1Char(':') + QString::fromUtf8(tag);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), QStringLiteral("1"));
    for (const QString& variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {test});
    const bool finished = child.waitForFinished(120'000);
    if (!finished) child.kill();
    output = child.readAll();
    if (!finished) output += "\nthe child run did not finish";
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

} // namespace OrzaTest
