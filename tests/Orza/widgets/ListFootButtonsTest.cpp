#include "Orza/widgets/ListFootButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using Orza::ListFootButtons;

class ListFootButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void removeCanBeDisabledAlone() {
        ListFootButtons foot(QStringLiteral("Add Material"), QStringLiteral("Remove Material"));
        QSignalSpy added(&foot, &ListFootButtons::addRequested);
        QSignalSpy removed(&foot, &ListFootButtons::removeRequested);
        foot.show();
        foot.setCanRemove(false);
        QTest::mouseClick(foot.removeButton(), Qt::LeftButton);
        QTest::mouseClick(foot.addButton(), Qt::LeftButton);
        QCOMPARE(removed.count(), 0);
        QCOMPARE(added.count(), 1);
        foot.setCanRemove(true);
        foot.setCanAdd(false);
        QTest::mouseClick(foot.removeButton(), Qt::LeftButton);
        QTest::mouseClick(foot.addButton(), Qt::LeftButton);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(added.count(), 1);
    }

    void helpFallsBackToTheLabel() {
        ListFootButtons foot(QStringLiteral("Add Material"), QStringLiteral("Remove Material"));
        QCOMPARE(foot.addButton()->toolTip(), QStringLiteral("Add Material"));
        QCOMPARE(foot.removeButton()->toolTip(), QStringLiteral("Remove Material"));
        QCOMPARE(foot.removeButton()->accessibleName(), QStringLiteral("Remove Material"));
        foot.setAddHelp(QStringLiteral("Add a material line (Shift-Command-L)"));
        QCOMPARE(foot.addButton()->toolTip(), QStringLiteral("Add a material line (Shift-Command-L)"));
        QCOMPARE(foot.addButton()->accessibleName(), QStringLiteral("Add Material"));
        foot.setAddHelp(std::nullopt);
        QCOMPARE(foot.addButton()->toolTip(), QStringLiteral("Add Material"));
    }

    void buttonsStayAtTheLeadingEdge() {
        ListFootButtons foot(QStringLiteral("Add"), QStringLiteral("Remove"));
        foot.resize(400, foot.sizeHint().height());
        foot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&foot));
        QCOMPARE(foot.addButton()->geometry().left(), 6);
        QCOMPARE(foot.addButton()->size(), QSize(24, 20));
        QVERIFY(foot.removeButton()->geometry().right() < 80);

        // Trailing content sits at the far end; new content replaces the old.
        QPointer<QLabel> count = new QLabel(QStringLiteral("3 materials"));
        foot.setTrailing(count);
        QCoreApplication::processEvents();
        QCOMPARE(count->geometry().right(), 400 - 6 - 1);
        foot.setTrailing(new QLabel(QStringLiteral("4 materials")));
        QVERIFY(!count);
        QCOMPARE(qobject_cast<QLabel*>(foot.trailing())->text(), QStringLiteral("4 materials"));
    }
};

QTEST_MAIN(ListFootButtonsTest)
#include "ListFootButtonsTest.moc"
