#include "UI/OperationMapper.h"

#include <QAction>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(OperationMapper, TriggeredActionsEmitTheirMappedText)
{
    Ui::OperationMapper mapper;
    QAction deposition("Isotropic Deposition");
    QAction front("Front View");
    mapper.map(&deposition, 13u);
    mapper.map(&front, QStringLiteral("front"));
    QSignalSpy spy(&mapper, &Ui::OperationMapper::activated);

    deposition.trigger();
    front.trigger();
    deposition.trigger();

    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toString(), "13");
    EXPECT_EQ(spy.at(1).at(0).toString(), "front");
    EXPECT_EQ(spy.at(2).at(0).toString(), "13");
}
