#include "OperationMapper.h"

#include <QAction>
#include <QSignalMapper>

namespace Ui {

OperationMapper::OperationMapper(QObject *parent) : QObject(parent), mapper(new QSignalMapper(this))
{
    connect(mapper, &QSignalMapper::mappedString, this, &OperationMapper::activated);
}

void OperationMapper::map(QAction *action, uint32_t id)
{
    map(action, QString::number(id));
}

void OperationMapper::map(QAction *action, const QString &text)
{
    connect(action, &QAction::triggered, mapper, qOverload<>(&QSignalMapper::map));
    mapper->setMapping(action, text);
}

} // namespace Ui
