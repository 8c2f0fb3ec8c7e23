#include "platform/zeph/TextNode.hpp"

#include "platform/zeph/Node_p.hpp"
#include "platform/zeph/Scene_p.hpp"
#include "platform/zeph/TextNode_p.hpp"

#include <QFont>
#include <QGraphicsProxyWidget>
#include <QGraphicsSimpleTextItem>
#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace ZEPH {

namespace {

QGraphicsSimpleTextItem* textItem(const NodePrivate* node) {
    return static_cast<QGraphicsSimpleTextItem*>(node->item);
}

} // namespace

// TextNodePrivate

void TextNodePrivate::startEditing() {
    if (isEditing() || !scene || !item->isVisible())
        return;
    // One editor per scene: the user cannot type into two at once. Committing the
    // other tells its listeners, who may remove this text or start its edit.
    if (TextNodePrivate* other = scene->editedText()) {
        const std::shared_ptr<NodePrivate> keep = shared_from_this();
        other->endEditing(true);
        if (isEditing() || !scene || !item || !item->isVisible())
            return;
    }
    QGraphicsSimpleTextItem* text = textItem(this);
    lineEdit = new QLineEdit(text->text());
    lineEdit->setFont(text->font());
    lineEdit->selectAll();
    editor = new QGraphicsProxyWidget(item);
    editor->setWidget(lineEdit);
    // Cover the text with room to type on; the frame's margins sit around it.
    const QRectF bounds = text->boundingRect();
    const QSize hint = lineEdit->sizeHint();
    const double margin = 4.0;
    editor->setGeometry(QRectF(bounds.left() - margin, bounds.top() - margin,
                               std::max(bounds.width() + 6 * margin, 60.0),
                               std::max(bounds.height() + 2 * margin, double(hint.height()))));
    editor->setZValue(1.0);
    scene->editingText = shared_from_this();
}

void TextNodePrivate::endEditing(bool commit) {
    if (!isEditing())
        return;
    const QString edited = lineEdit->text();
    // Leave the editor before anyone hears of the commit: a listener may start
    // another edit or remove the node. The editor may be in the middle of handling
    // an event of its own, so it goes later.
    QGraphicsProxyWidget* gone = editor;
    editor = nullptr;
    lineEdit = nullptr;
    gone->setParentItem(nullptr);
    if (QGraphicsScene* qtScene = gone->scene())
        qtScene->removeItem(gone);
    gone->deleteLater();
    if (scene && scene->editedText() == this)
        scene->editingText.reset();
    if (!commit || !item || edited == textItem(this)->text())
        return;
    textItem(this)->setText(edited);
    // Handles keep the node while listeners run.
    const std::shared_ptr<NodePrivate> keep = shared_from_this();
    if (editCommitEmitter)
        editCommitEmitter->send(edited.toStdString());
}

// TextNode

TextNode::TextNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Text)) {}

TextNode TextNode::create(const std::string& text) {
    auto* item = new LinkedItem<QGraphicsSimpleTextItem>();
    TextNode node(std::make_shared<TextNodePrivate>(item, item));
    node.setText(text);
    return node;
}

void TextNode::setText(const std::string& text) {
    if (NodePrivate* self = checkedLive("TextNode::setText"))
        textItem(self)->setText(QString::fromStdString(text));
}

std::string TextNode::getText() const {
    if (!isValid())
        return {};
    return textItem(d_func())->text().toStdString();
}

void TextNode::setFontSize(double pointSize) {
    NodePrivate* self = checkedLive("TextNode::setFontSize");
    if (!self || !(pointSize > 0.0) || !std::isfinite(pointSize))
        return;
    QGraphicsSimpleTextItem* text = textItem(self);
    QFont font = text->font();
    font.setPointSizeF(pointSize);
    text->setFont(font);
}

double TextNode::getFontSize() const {
    if (!isValid())
        return 0.0;
    return textItem(d_func())->font().pointSizeF();
}

void TextNode::setEditable(bool editable) {
    if (TextNodePrivate* self = TextNodePrivate::of(checkedLive("TextNode::setEditable")))
        self->editable = editable;
}

bool TextNode::isEditable() const {
    return isValid() && TextNodePrivate::of(d_func())->editable;
}

void TextNode::startEditing() {
    if (TextNodePrivate* self = TextNodePrivate::of(checkedLive("TextNode::startEditing")))
        self->startEditing();
}

bool TextNode::isEditing() const {
    return isValid() && TextNodePrivate::of(d_func())->isEditing();
}

std::string TextNode::getEditedText() const {
    if (!isEditing())
        return {};
    return TextNodePrivate::of(d_func())->lineEdit->text().toStdString();
}

void TextNode::commitEditing() {
    if (TextNodePrivate* self = TextNodePrivate::of(checkedLive("TextNode::commitEditing")))
        self->endEditing(true);
}

void TextNode::cancelEditing() {
    if (TextNodePrivate* self = TextNodePrivate::of(checkedLive("TextNode::cancelEditing")))
        self->endEditing(false);
}

QWidget* TextNode::getEditor() const {
    return isEditing() ? TextNodePrivate::of(d_func())->lineEdit : nullptr;
}

NIMB::Emitter<std::string>& TextNode::getEditCommitEmitter() const {
    TextNodePrivate* self = TextNodePrivate::of(checkedLive("TextNode::getEditCommitEmitter"));
    if (!self) {
        // Nothing sends on it: an invalid node is never edited.
        static NIMB::Emitter<std::string> detached;
        return detached;
    }
    if (!self->editCommitEmitter)
        self->editCommitEmitter = std::make_unique<NIMB::Emitter<std::string>>();
    return *self->editCommitEmitter;
}

} // namespace ZEPH
