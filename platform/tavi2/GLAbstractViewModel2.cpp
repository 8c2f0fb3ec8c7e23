#include "platform/tavi2/GLAbstractViewModel2.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractModel2_p.hpp"

#include <charconv>
#include <cmath>

namespace TAVI {

namespace {

GLModelCell2* checkedCell(GLAbstractModel2Private* d, unsigned rowUID, unsigned columnUID,
                          const char* operation) {
    GLModelCell2* cell = d->writableCell(rowUID, columnUID);
    if (!cell)
        throw TypedException(TAVI_HERE, std::string(operation) + ": no cell (" +
                                            std::to_string(rowUID) + ", " +
                                            std::to_string(columnUID) + ")");
    return cell;
}

// Reads all of text (surrounding spaces allowed) as a number.
template <typename T> bool parseWhole(const std::string& text, T& number) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos)
        return false;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto [stop, error] = std::from_chars(begin, end, number);
    return error == std::errc() && stop == end;
}

const GLModelCell2* readCell(const GLAbstractModel2Private* d, unsigned rowUID,
                             unsigned columnUID) {
    const auto column = d->columnIndex.find(columnUID);
    return column == d->columnIndex.end() ? nullptr : d->cell(rowUID, column->second);
}

} // namespace

GLAbstractViewModel2::GLAbstractViewModel2() = default;
GLAbstractViewModel2::~GLAbstractViewModel2() = default;

std::vector<unsigned> GLAbstractViewModel2::appendColumns(const std::vector<std::string>& labels) {
    const std::vector<unsigned> added = appendColumns(unsigned(labels.size()));
    // The columns exist before their labels: views read the header again.
    for (std::size_t i = 0; i < added.size(); ++i)
        d_func()->columns[d_func()->columnIndex.at(added[i])].label = labels[i];
    if (d_func()->adapter && !added.empty()) {
        const unsigned first = unsigned(d_func()->columnIndex.at(added.front()));
        d_func()->adapter->headerChanged(first, first + unsigned(added.size()) - 1);
    }
    return added;
}

void GLAbstractViewModel2::setColumnLabel(unsigned columnUID, const std::string& label) {
    const int index = getColumnIndex(columnUID);
    if (index < 0)
        throw TypedException(TAVI_HERE, "GLAbstractViewModel2::setColumnLabel: no column " +
                                            std::to_string(columnUID));
    std::string& current = d_func()->columns[unsigned(index)].label;
    if (current == label)
        return;
    current = label;
    if (d_func()->adapter)
        d_func()->adapter->headerChanged(unsigned(index), unsigned(index));
}

std::string GLAbstractViewModel2::getColumnLabel(unsigned columnUID) const {
    const int index = getColumnIndex(columnUID);
    return index < 0 ? std::string() : d_func()->columns[unsigned(index)].label;
}

void GLAbstractViewModel2::setValue(unsigned rowUID, unsigned columnUID, const any& value) {
    checkedCell(d_func(), rowUID, columnUID, "GLAbstractViewModel2::setValue")->value = value;
    d_func()->cellChanged(rowUID, columnUID);
}

any GLAbstractViewModel2::getValue(unsigned rowUID, unsigned columnUID) const {
    const GLModelCell2* cell = readCell(d_func(), rowUID, columnUID);
    return cell ? cell->value : any();
}

std::string GLAbstractViewModel2::getText(unsigned rowUID, unsigned columnUID) const {
    const any value = getValue(rowUID, columnUID);
    return value.empty() ? std::string() : value.convertToString();
}

void GLAbstractViewModel2::setIcon(unsigned rowUID, unsigned columnUID, const Icon& icon) {
    GLModelCell2* cell = checkedCell(d_func(), rowUID, columnUID, "GLAbstractViewModel2::setIcon");
    if (cell->icon ? *cell->icon == icon : icon.isNull())
        return;
    cell->icon = icon.isNull() ? nullptr : d_func()->sharedIcon(icon);
    d_func()->cellChanged(rowUID, columnUID);
}

Icon GLAbstractViewModel2::getIcon(unsigned rowUID, unsigned columnUID) const {
    const GLModelCell2* cell = readCell(d_func(), rowUID, columnUID);
    return cell && cell->icon ? *cell->icon : Icon();
}

void GLAbstractViewModel2::setColor(unsigned rowUID, unsigned columnUID, int role,
                                    const Color& color) {
    if (role != ForegroundColor && role != BackgroundColor)
        throw TypedException(TAVI_HERE, "GLAbstractViewModel2::setColor: unknown colour role " +
                                            std::to_string(role));
    GLModelCell2* cell = checkedCell(d_func(), rowUID, columnUID, "GLAbstractViewModel2::setColor");
    Color& current = role == ForegroundColor ? cell->foreground : cell->background;
    if (current == color)
        return;
    current = color;
    d_func()->cellChanged(rowUID, columnUID);
}

Color GLAbstractViewModel2::getColor(unsigned rowUID, unsigned columnUID, int role) const {
    const GLModelCell2* cell = readCell(d_func(), rowUID, columnUID);
    if (!cell)
        return Color();
    if (role == ForegroundColor)
        return cell->foreground;
    return role == BackgroundColor ? cell->background : Color();
}

void GLAbstractViewModel2::setReadOnly(unsigned rowUID, unsigned columnUID, bool readOnly) {
    GLModelCell2* cell =
        checkedCell(d_func(), rowUID, columnUID, "GLAbstractViewModel2::setReadOnly");
    if (cell->readOnly == readOnly)
        return;
    cell->readOnly = readOnly;
    d_func()->cellChanged(rowUID, columnUID);
}

bool GLAbstractViewModel2::isReadOnly(unsigned rowUID, unsigned columnUID) const {
    const GLModelCell2* cell = readCell(d_func(), rowUID, columnUID);
    return cell && cell->readOnly;
}

void GLAbstractViewModel2::setRowExpandable(unsigned rowUID, bool expandable) {
    GLModelRow2* row = rowUID == rootRow ? nullptr : d_func()->findRow(rowUID);
    if (!row)
        throw TypedException(TAVI_HERE, "GLAbstractViewModel2::setRowExpandable: no row " +
                                            std::to_string(rowUID));
    if (row->expandable == expandable)
        return;
    row->expandable = expandable;
    if (d_func()->adapter && row->children.empty() && d_func()->isKnown(rowUID))
        d_func()->adapter->childIndicatorChanged(rowUID);
}

bool GLAbstractViewModel2::isRowExpandable(unsigned rowUID) const {
    const GLModelRow2* row = d_func()->findRow(rowUID);
    return row && (row->expandable || !row->children.empty());
}

bool GLAbstractViewModel2::setValueFromEditor(unsigned rowUID, unsigned columnUID,
                                              const std::string& text) {
    if (!hasRow(rowUID) || rowUID == rootRow || !hasColumn(columnUID) ||
        isReadOnly(rowUID, columnUID))
        return false;
    // The cell keeps the kind of value it had: text that does not read as one is refused, so
    // a typing slip never turns a number into a string.
    const any old = getValue(rowUID, columnUID);
    any value;
    if (old.get<double>()) {
        double number = 0;
        if (!parseWhole(text, number) || !std::isfinite(number))
            return false;
        value = number;
    } else if (old.get<int>()) {
        int number = 0;
        if (!parseWhole(text, number))
            return false;
        value = number;
    } else if (old.get<unsigned>()) {
        unsigned number = 0;
        if (!parseWhole(text, number))
            return false;
        value = number;
    } else if (old.get<bool>()) {
        if (text != "true" && text != "false")
            return false;
        value = text == "true";
    } else if (old.get<StringID>()) {
        value = StringID(text);
    } else {
        value = text;
    }
    setValue(rowUID, columnUID, value);
    return true;
}

bool GLAbstractViewModel2::getDragData(const std::vector<unsigned>&, GLMimeData2&) const {
    return false;
}

} // namespace TAVI
