// Feeds arbitrary bytes to the XML loader, reads every node and attribute the
// way the project-file readers do, and checks that whatever loads also saves
// to a document that loads again and saves the same.

#include "platform/runtime/XmlDom.h"

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdlib>

namespace {

void Walk(const TXmlDocument& doc)
{
    (void)doc.DocumentElement().Text();
    QList<TXmlNode> stack { doc.FirstNode() };
    for (TXmlNode n = doc.FirstNode().NextSibling(); n; n = n.NextSibling())
        stack.append(n);
    while (!stack.isEmpty()) {
        const TXmlNode n = stack.takeLast();
        if (!n)
            continue;
        (void)n.NodeType();
        (void)n.NodeName();
        (void)n.NodeValue();
        (void)n.Text();
        const int attrs = n.AttributeCount();
        for (int i = 0; i <= attrs; ++i) {
            const QString name = n.AttributeName(i);
            (void)n.AttributeValue(i);
            // Names that are not valid UTF-8 do not survive the trip through
            // QString and cannot be looked up again.
            if (!name.contains(QChar::ReplacementCharacter) && n.Attribute(name).has_value() != (i < attrs))
                std::abort();
        }
        (void)n.Attributes();
        const int count = n.ChildCount();
        for (int i = 0; i < count; ++i) {
            const TXmlNode c = n.Child(i);
            if (!c || c.Parent() != n)
                std::abort();
            if (c.IsElement() && !c.NodeName().contains(QChar::ReplacementCharacter) && !n.FindChild(c.NodeName()))
                std::abort();
            stack.append(c);
        }
        if (n.Child(count))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TXmlDocument doc;
    QString error;
    if (!doc.LoadFromBytes(bytes, &error)) {
        if (error.isEmpty() || doc.FirstNode())
            std::abort();
        return 0;
    }
    Walk(doc);

    const QByteArray saved = doc.SaveToBytes();
    TXmlDocument again;
    if (!again.LoadFromBytes(saved, &error))
        std::abort();
    if (again.SaveToBytes() != saved)
        std::abort();

    // Edits on a loaded tree, as the writers make them.
    TXmlNode root = again.DocumentElement();
    root.SetAttribute("fuzz", QString::fromUtf8(bytes.left(16)));
    root.AddChild("row").SetText(QString::fromUtf8(bytes.left(32)));
    if (!again.LoadFromBytes(again.SaveToBytes(), &error))
        std::abort();
    return 0;
}
