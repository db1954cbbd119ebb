#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTest>

// Running one test again in a process of its own, for what must not touch the suite's process: a limit on
// file sizes, the handling of a signal.
namespace OrzaTest {

/// True in a process that runInChild() started.
bool isChildRun();

/// Runs the current test function, with its current data row, again in a new process of this test program
/// and waits for it, with the environment's `variables` ("NAME=value") set. True when it passed there; `output` is
/// what it wrote.
[[nodiscard]] bool runInChild(QByteArray& output, const QStringList& variables = {});

} // namespace OrzaTest

/// The rest of the test runs in a child process; here, the test passes when it passed there.
#define ORZA_TEST_IN_CHILD_PROCESS() ORZA_TEST_IN_CHILD_PROCESS_WITH(QStringList())

/// The rest of the test runs in a child process whose environment sets `variables` ("NAME=value").
#define ORZA_TEST_IN_CHILD_PROCESS_WITH(variables)                                                                     \
    do {                                                                                                               \
        if (!OrzaTest::isChildRun()) {                                                                                 \
            QByteArray childOutput;                                                                                    \
            const bool childPassed = OrzaTest::runInChild(childOutput, variables);                                     \
            QVERIFY2(childPassed, childOutput.constData());                                                            \
            if (childOutput.contains("\nSKIP   : ")) QSKIP("skipped in the child run");                                \
            return;                                                                                                    \
        }                                                                                                              \
    } while (false)
