#pragma once

#include <string>
#include <utility>

#include "sheet/PriceSheet.h"

namespace sheet {

// Collects the printer operations of a page, one call an operation.
class SheetWriter
{
public:
    void fontName(std::string name) { m_ops.push_back({SheetOpKind::FontName, std::move(name), 0, false}); }
    void size(int points) { m_ops.push_back({SheetOpKind::FontSize, {}, points, false}); }
    void bold(bool on) { m_ops.push_back({SheetOpKind::Bold, {}, 0, on}); }
    void underline(bool on) { m_ops.push_back({SheetOpKind::Underline, {}, 0, on}); }
    void text(std::string text) { m_ops.push_back({SheetOpKind::Text, std::move(text), 0, false}); }
    void endLine() { m_ops.push_back({SheetOpKind::EndLine, {}, 0, false}); }
    void line(std::string text)
    {
        this->text(std::move(text));
        endLine();
    }
    void column(int n) { m_ops.push_back({SheetOpKind::Column, {}, n, false}); }
    void endDocument() { m_ops.push_back({SheetOpKind::EndDocument, {}, 0, false}); }
    SheetOps take() { return std::move(m_ops); }

private:
    SheetOps m_ops;
};

} // namespace sheet
