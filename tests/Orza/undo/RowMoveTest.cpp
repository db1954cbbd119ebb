#include "Orza/undo/RowMove.h"

#include <QTest>

#include <algorithm>
#include <random>

using Orza::RowMove;

namespace {

/// The move done the obvious way: take the rows out, then insert them before the destination's element.
std::vector<int> reference(const std::vector<int>& list, const RowMove& move) {
    std::vector<int> moved, others;
    std::size_t othersBefore = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const bool isMoved = std::binary_search(move.rows.begin(), move.rows.end(), i);
        (isMoved ? moved : others).push_back(list[i]);
        if (!isMoved && i < move.destination) ++othersBefore;
    }
    others.insert(others.begin() + std::ptrdiff_t(othersBefore), moved.begin(), moved.end());
    return others;
}

} // namespace

class RowMoveTest : public QObject {
    Q_OBJECT
private slots:
    void dragDownAndUp() {
        std::vector<int> list{0, 1, 2, 3, 4};
        RowMove::make({1}, 4, 5).apply(list);
        QCOMPARE(list, (std::vector<int>{0, 2, 3, 1, 4}));
        list = {0, 1, 2, 3, 4};
        RowMove::make({3}, 0, 5).apply(list);
        QCOMPARE(list, (std::vector<int>{3, 0, 1, 2, 4}));
    }

    void makeCleansItsInput() {
        const RowMove move = RowMove::make({4, 1, 1, 9}, 12, 5);
        QCOMPARE(move.rows, (std::vector<std::size_t>{1, 4}));
        QCOMPARE(move.destination, std::size_t(5));
    }

    void noOpWhenRowsAlreadyStandThere() {
        QVERIFY(RowMove::make({2}, 2, 5).isNoOp());
        QVERIFY(RowMove::make({2}, 3, 5).isNoOp());
        QVERIFY(RowMove::make({1, 2}, 1, 5).isNoOp());
        QVERIFY(!RowMove::make({1, 3}, 2, 5).isNoOp());
        QVERIFY(!RowMove::make({2}, 4, 5).isNoOp());
    }

    // Random moves of scattered rows: apply matches the obvious move, revert restores the list, and the
    // row maps agree with both.
    void randomMovesAgreeWithTheReference() {
        std::mt19937 random(7);
        for (int round = 0; round < 500; ++round) {
            const std::size_t size = 1 + random() % 12;
            std::vector<int> list(size);
            for (std::size_t i = 0; i < size; ++i)
                list[i] = int(i);
            std::vector<std::size_t> rows;
            for (std::size_t i = 0; i < size; ++i)
                if (random() % 3 == 0) rows.push_back(i);
            const RowMove move = RowMove::make(rows, random() % (size + 1), size);

            std::vector<int> moved = list;
            move.apply(moved);
            QCOMPARE(moved, reference(list, move));
            for (std::size_t old = 0; old < size; ++old) {
                QCOMPARE(moved[move.newRow(old)], int(old));
                QCOMPARE(move.oldRow(move.newRow(old)), old);
            }
            QCOMPARE(move.isNoOp(), moved == list);
            move.revert(moved);
            QCOMPARE(moved, list);
        }
    }
};

QTEST_APPLESS_MAIN(RowMoveTest)
#include "RowMoveTest.moc"
