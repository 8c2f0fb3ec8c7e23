#pragma once

#include "platform/tavi/Icon.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/tavi2/tavi2_export.hpp"

#include <string>

namespace TAVI {

class GLComboBox2Private;

// A drop-down list of items, optionally with a field to type into.
class TAVI2_EXPORT GLComboBox2 : public GLWidget2 {
public:
    // Throws TypedException when toolkit is not "qt".
    explicit GLComboBox2(const StringID& toolkit, GLWidget2* parent = nullptr);
    ~GLComboBox2() override;

    void addItem(const std::string& label);
    void addItem(const std::string& label, const Icon& icon);
    // Throws TypedException for an index outside 0..getCount().
    void insertItem(int index, const std::string& label);
    // Throws TypedException for an index outside the items.
    void removeItem(int index);
    void clear();
    int getCount() const;
    std::string getItemText(int index) const;     // empty outside the items
    int findText(const std::string& label) const; // -1 when no item has it

    // -1 for none; throws TypedException for an index outside -1..getCount()-1.
    void setCurrentIndex(int index);
    int getCurrentIndex() const;
    // The current item's label, or what was typed into an editable box.
    std::string getCurrentText() const;
    void setEditable(bool editable);
    bool isEditable() const;

    // Changed: the current item changed, whoever changed it. Finished: the user chose an item
    // (even the current one) or confirmed typed text. Both carry the text and current index.
    NIMB::Emitter<GLEditEvent2>& getEditEmitter();

private:
    GLComboBox2Private* d; // owned
};

} // namespace TAVI
