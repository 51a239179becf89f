#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QAction;
class QSignalMapper;

namespace Ui {

// Turns menu and toolbar actions into operation ids (or view names): a triggered action
// emits `activated` with the text it was mapped to.
class OperationMapper : public QObject {
    Q_OBJECT
public:
    explicit OperationMapper(QObject *parent = nullptr);

    void map(QAction *action, uint32_t id);
    void map(QAction *action, const QString &text);

signals:
    void activated(const QString &operationId);

private:
    QSignalMapper *mapper;
};

} // namespace Ui
