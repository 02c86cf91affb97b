#pragma once

#include "fragments/imagemarkup.h"
#include "platform/editing/editingcommands.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QWidget;

namespace lumipage
{

class CommonDialog;
class WebEngineEditingComponent;

// The editing surface's own dialogs (find, font, image) and its context menu, shown over the window
// that holds the surface; each applies its result through the component's one road
// into the page. Owned by the component.
class ComponentDialogs
{
public:
    explicit ComponentDialogs(WebEngineEditingComponent &component);
    ~ComponentDialogs();

    // The common dialog the image dialog browses with (the program's own when set).
    void setCommonDialog(CommonDialog *dialog) { m_common = dialog; }
    // What a new picture from the image dialog goes in as.
    void setImageMarkupRoad(ImageMarkupRoad road) { m_imageRoad = std::move(road); }

    bool find();
    bool font();
    // With a prompt: the image dialog; without one: an image of the URL in `value`.
    bool image(CommandOption option, const QVariant &value);

private:
    CommonDialog &commonDialog();

    WebEngineEditingComponent &m_component;
    CommonDialog *m_common = nullptr;
    std::unique_ptr<CommonDialog> m_own;
    QString m_findText;
    ImageMarkupRoad m_imageRoad;
};

} // namespace lumipage
