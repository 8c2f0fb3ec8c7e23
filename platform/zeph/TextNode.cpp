#include "platform/zeph/TextNode.hpp"

#include "platform/zeph/Node_p.hpp"

#include <QFont>
#include <QGraphicsSimpleTextItem>

#include <cmath>

namespace ZEPH {

TextNode::TextNode(const Node& node) : Node(privateOfKind(node, NodePrivate::Text)) {}

TextNode TextNode::create(const std::string& text)
{
    TextNode node(makeNodePrivate<QGraphicsSimpleTextItem>(NodePrivate::Text));
    node.setText(text);
    return node;
}

void TextNode::setText(const std::string& text)
{
    if (NodePrivate* self = checkedLive("TextNode::setText"))
        static_cast<QGraphicsSimpleTextItem*>(self->item)->setText(QString::fromStdString(text));
}

std::string TextNode::getText() const
{
    if (!isValid())
        return {};
    return static_cast<QGraphicsSimpleTextItem*>(d_func()->item)->text().toStdString();
}

void TextNode::setFontSize(double pointSize)
{
    NodePrivate* self = checkedLive("TextNode::setFontSize");
    if (!self || !(pointSize > 0.0) || !std::isfinite(pointSize))
        return;
    auto* text = static_cast<QGraphicsSimpleTextItem*>(self->item);
    QFont font = text->font();
    font.setPointSizeF(pointSize);
    text->setFont(font);
}

double TextNode::getFontSize() const
{
    if (!isValid())
        return 0.0;
    return static_cast<QGraphicsSimpleTextItem*>(d_func()->item)->font().pointSizeF();
}

} // namespace ZEPH
