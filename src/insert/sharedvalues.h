#pragma once

#include <QString>

#include <array>

namespace lumipage
{

// The values the main window and its dialogs share for the whole run. Owned by the
// main window and handed to dialogs by reference.
struct SharedValues {
    QString insert_html;                  // the fragment the next paste puts at the caret
    qint16 effect_code = 0;               // the pending effect: 0 none, 10 … 80
    QString effect_id;                    // "[VELD ID]" / "[IMGID]"
    QString color1;                       // "[color1]"
    QString color2;                       // "[color2]"
    std::array<QString, 10> link_targets; // "[LINK0]" … "[LINK9]"
    QString gazou1;                       // "[GAZOU1]"
    QString gazou2;                       // "[GAZOU2]"
    QString background_attr;              // what replaced "<BODY" for the background image
    QString bg_properties;                // "bgProperties=fixed" or "bgProperties=none"
    QString find_text;                    // the source window's text to replace
    QString replace_text;                 // its replacement
    QString table_rows;                   // the table dialog's boxes, as typed
    QString table_cols;
    QString table_attrs;
    QString cell_attrs;
    QString table_caption;
    QString button_html; // the button dialog's markup
};

} // namespace lumipage
