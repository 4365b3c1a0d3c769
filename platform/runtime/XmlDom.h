#pragma once
// The XML document object model the forms and file writers use: a document
// that owns its tree, and light node handles into it. The project files, the
// settings file and the update job file are all read and written through it.
//
// Handles stay valid while their node is in the document; clearing the
// document, loading another file or removing a node invalidates the handles
// into that part of the tree. A null handle answers every query with an empty
// result and ignores every change, so a reader can chain look-ups without
// testing each step.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUtf8StringView>
#include <memory>
#include <optional>
#include <span>
#include <utility>

namespace pugi {
struct xml_node_struct;
class xml_document;
} // namespace pugi

enum class TXmlNodeType {
    ntNull,
    ntDocument,
    ntElement,
    ntText,
    ntCData,
    ntComment,
    ntProcessingInstruction,
    ntDeclaration,
    ntDocType
};

class TXmlNode {
public:
    TXmlNode() = default;

    bool IsNull() const { return FNode == nullptr; }
    explicit operator bool() const { return FNode != nullptr; }
    bool operator==(const TXmlNode& other) const { return FNode == other.FNode; }
    bool operator!=(const TXmlNode& other) const { return FNode != other.FNode; }

    TXmlNodeType NodeType() const;
    bool IsElement() const { return NodeType() == TXmlNodeType::ntElement; }
    // Element and processing-instruction names; "#text", "#cdata-section",
    // "#comment", "#document", "xml" for the declaration and "#doctype" for the
    // document type, as the usual DOM names them.
    QString NodeName() const;
    // The value of a text, CDATA, comment, processing-instruction or
    // document-type node; empty for elements and documents.
    QString NodeValue() const;
    void SetNodeValue(const QString& value);

    // The text content: every text and CDATA descendant joined in document
    // order (a comment's or instruction's own value for those nodes), taken as
    // it stands, without trimming.
    QString Text() const;
    // On an element or document: replaces all children by one text node (none
    // for an empty text). On other nodes: sets the node's value.
    void SetText(const QString& text);

    TXmlNode Parent() const;
    TXmlNode FirstChild() const;
    TXmlNode LastChild() const;
    TXmlNode NextSibling() const;
    TXmlNode PreviousSibling() const;
    int ChildCount() const;
    // Child by 0-based index in document order; null when out of range.
    TXmlNode Child(int index) const;
    QList<TXmlNode> ChildNodes() const;
    // First child element of that name (case-sensitive), or null.
    TXmlNode FindChild(const QString& name) const;
    // Every child element of that name, in document order.
    QList<TXmlNode> FindChildren(const QString& name) const;

    // Attributes, in the order they were added or read. A missing attribute is
    // told apart from an empty one: Attribute() gives no value at all.
    int AttributeCount() const;
    bool HasAttribute(const QString& name) const;
    std::optional<QString> Attribute(const QString& name) const;
    QString AttributeOr(const QString& name, const QString& fallback = QString()) const;
    // The values of the named attributes (values[i] for names[i], which are
    // in UTF-8; none when missing) as the document holds them, in UTF-8 and
    // without copies: for readers that take several attributes of many
    // elements, fastest when asked in the order the element has them. The
    // views last until the attribute changes.
    void AttributesUtf8(std::span<const char* const> names, std::span<std::optional<QUtf8StringView>> values) const;
    QString AttributeName(int index) const;
    QString AttributeValue(int index) const;
    QList<std::pair<QString, QString>> Attributes() const;
    // Sets the value in place when the attribute exists, else appends it.
    // Only elements and the declaration take attributes.
    bool SetAttribute(const QString& name, const QString& value);
    bool RemoveAttribute(const QString& name);

    // Appends a child element (to an element or the document) and returns it.
    TXmlNode AddChild(const QString& name);
    TXmlNode AddComment(const QString& text);
    TXmlNode AddText(const QString& text);
    // Removes a direct child (and its subtree); false when it is not one.
    bool RemoveChild(const TXmlNode& child);
    void RemoveChildren();

private:
    friend class TXmlDocument;
    explicit TXmlNode(pugi::xml_node_struct* node)
        : FNode(node)
    {
    }
    TXmlNode Append(int pugiType, const QString& nameOrValue);
    pugi::xml_node_struct* FNode = nullptr;
};

class TXmlDocument {
public:
    TXmlDocument();
    ~TXmlDocument();
    TXmlDocument(const TXmlDocument&) = delete;
    TXmlDocument& operator=(const TXmlDocument&) = delete;

    // An inactive document is empty; making it inactive drops the tree.
    bool Active() const { return FActive; }
    void SetActive(bool value);

    // Removes every node.
    void Clear();

    // Each load replaces the tree. On failure the document is left empty and
    // the error text says what was wrong and where; nothing is thrown. A file
    // is read as ReadFileBytes does: regular files up to the read limit only.
    // Without a declared encoding the bytes are UTF-8, and bytes that are not
    // valid UTF-8 read as Windows-1252.
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    bool LoadFromBytes(const QByteArray& data, QString* error = nullptr);
    bool LoadFromString(const QString& xml, QString* error = nullptr);

    // UTF-8, no XML declaration unless the tree holds one, no indentation or
    // line breaks of its own. The file is replaced whole or left untouched.
    bool SaveToFile(const QString& path, QString* error = nullptr) const;
    QByteArray SaveToBytes() const;
    QString SaveToString() const;

    // The document node itself: its children are the top-level nodes.
    TXmlNode Node() const;
    // The first top-level node, whatever its kind: a declaration or comment
    // that stands before the root element is this node.
    TXmlNode FirstNode() const;
    // The root element, wherever it stands among the top-level nodes.
    TXmlNode DocumentElement() const;
    TXmlNode AddChild(const QString& name) { return Node().AddChild(name); }
    TXmlNode AddComment(const QString& text) { return Node().AddComment(text); }

private:
    bool Parse(const QByteArray& data, QString* error, int encoding);
    std::unique_ptr<pugi::xml_document> FDoc;
    bool FActive = true;
};
