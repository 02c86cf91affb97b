#pragma once

#include <QList>
#include <QtGlobal>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class CommandActions;
class Document;
class EditingComponent;
struct SharedValues;

// Edit and browse modes, and the refresh that sets every command's state, the object
// buttons and the two lists from the surface's statuses and the mode. The one place
// where these states are set.
class StateRefresh
{
public:
    // The main window's controls that follow the state besides the actions.
    struct Controls {
        QLineEdit *modeIndicator;
        QComboBox *elementList;
        QComboBox *effectsList;
        QList<QPushButton *> objectButtons; // Command6, by index
    };

    StateRefresh(EditingComponent &editor, Document &document, CommandActions &actions,
                 const SharedValues &shared, Controls controls);

    // Switch to browse mode / edit mode (the design's hidden buttons Command3 and Command4).
    void enterBrowseMode();
    void enterEditMode();
    // The state refresh run on every display change and mode change.
    void refresh();
    // Whether the page has the background image (the background test's result >= 2).
    qsizetype backgroundPosition() const { return m_backgroundPosition; }
    void resetBackgroundPosition() { m_backgroundPosition = 0; }

private:
    EditingComponent &m_editor;
    Document &m_document;
    CommandActions &m_actions;
    const SharedValues &m_shared;
    Controls m_controls;
    qsizetype m_backgroundPosition = 0;
};

} // namespace lumipage
