#include "Scene.h"

#include <QMutexLocker>

namespace Model {

Scene::Scene() : current(std::make_shared<Layer>(0))
{
    layerList.append(current);
}

void Scene::addObject(const std::shared_ptr<Object> &object)
{
    QMutexLocker lock(&objectsMutex);
    current->append(object);
}

void Scene::removeObject(const std::shared_ptr<Object> &object)
{
    QMutexLocker lock(&objectsMutex);
    current->remove(object);
}

std::shared_ptr<Object> Scene::findObject(int objectId, bool *found)
{
    QMutexLocker lock(&objectsMutex);
    for (const auto &layer : layerList) {
        if (auto object = layer->find(objectId)) {
            if (found)
                *found = true;
            return object;
        }
    }
    if (found)
        *found = false;
    return {};
}

QList<std::shared_ptr<Object>> Scene::objects()
{
    QMutexLocker lock(&objectsMutex);
    QList<std::shared_ptr<Object>> all;
    for (const auto &layer : layerList)
        all += layer->objects();
    return all;
}

void Scene::paintAll(bool drawFaces, bool drawOutlines, const Util::Vector3D &eyePosition)
{
    QMutexLocker lock(&objectsMutex);
    for (const auto &layer : layerList)
        layer->paintAll(drawFaces, drawOutlines, eyePosition);
}

void Scene::paintAllForPicking()
{
    QMutexLocker lock(&objectsMutex);
    for (const auto &layer : layerList)
        layer->paintAllForPicking();
}

QString Scene::documentName()
{
    QMutexLocker lock(&nameMutex);
    return name;
}

void Scene::setDocumentName(const QString &newName)
{
    QMutexLocker lock(&nameMutex);
    name = newName;
}

void Scene::clear()
{
    {
        QMutexLocker lock(&objectsMutex);
        layerList.clear();
        current = std::make_shared<Layer>(0);
        layerList.append(current);
    }
    setDocumentName(QString());
}

std::shared_ptr<Layer> Scene::currentLayer()
{
    QMutexLocker lock(&objectsMutex);
    return current;
}

QList<std::shared_ptr<Layer>> Scene::layers()
{
    QMutexLocker lock(&objectsMutex);
    return layerList;
}

} // namespace Model
