#pragma once

#include "step/Entity.h"
#include "step/Visitor.h"

#include <memory>
#include <ostream>
#include <string>

namespace step {

// Writes an ISO 10303-21 exchange structure to a text stream. Entities are
// written one call late: an entity is written when the next one is handed
// over (or the writer is destroyed), so its builder may still append
// attributes after handing it over. Construction writes the opening lines,
// destruction the closing ones.
//
// A value that the clear-text encoding cannot carry (a real that is infinite
// or not a number) makes the hand-over that would write its entity throw
// std::runtime_error; that entity is dropped and the writer then leaves the
// file without its closing lines, so that no reader takes it for complete.
class Writer : public Visitor {
public:
    enum class Section { NotStarted, Header, Data };

    // Writes "ISO-10303-21;" and "HEADER;". The stream must outlive the writer.
    explicit Writer(std::ostream& out);
    // Writes the pending entity, "ENDSEC;" and "END-ISO-10303-21;".
    ~Writer() override;

    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Writes the pending entity and starts a header entity (no number) of the
    // given name, returned for the caller to fill.
    std::shared_ptr<Entity> beginHeaderEntity(const std::string& name);
    // Writes the pending entity and keeps the given one pending; the first data
    // entity closes the header section. Before any header entity it does
    // nothing and returns an empty pointer; otherwise it returns the entity.
    std::shared_ptr<Entity> writeEntity(std::shared_ptr<Entity> entity);
    // Writes the pending entity as one line; it stays pending.
    void flush();

    void visitSeparator() override;
    void beginSelect(const std::shared_ptr<Select>& value) override;
    void beginSet(const std::shared_ptr<Set>& value) override;
    void beginBag() override;
    void beginList(const std::shared_ptr<List>& value) override;
    void beginArray(const std::shared_ptr<Array>& value) override;
    void endSelect(const std::shared_ptr<Select>& value) override;
    void endSet(const std::shared_ptr<Set>& value) override;
    void endBag() override;
    void endList(const std::shared_ptr<List>& value) override;
    void endArray(const std::shared_ptr<Array>& value) override;
    void visitLogical(const std::shared_ptr<Logical>& value) override;
    void visitBoolean(const std::shared_ptr<Boolean>& value) override;
    void visitReference(const std::shared_ptr<Reference>& value) override;
    void visitNumber(const std::shared_ptr<Real>& value) override;
    void visitEnumeration(const std::shared_ptr<Enumeration>& value) override;
    void visitOmitted(const std::shared_ptr<Omitted>& value) override;
    void visitNull(const std::shared_ptr<Null>& value) override;
    void visitReal(const std::shared_ptr<Real>& value) override;
    void visitInteger(const std::shared_ptr<Integer>& value) override;
    void visitBinary(const std::shared_ptr<String>& value) override;
    void visitString(const std::shared_ptr<String>& value) override;

    std::ostream* out;
    Section section = Section::NotStarted;
    std::shared_ptr<Entity> pending;

private:
    void writeLine(const std::string& line);

    // Where the visitor operations write: the line being assembled.
    std::ostream* target;
    bool failed = false;
};

// Upper-cases ASCII letters; other bytes stay as they are.
std::string toUpper(const std::string& text);

// The real in the clear-text form: "%.17g" in the classic locale, with a
// point always present ("1.", "1.E+20", "0.10000000000000001").
// Throws std::invalid_argument for infinity and not-a-number.
std::string formatReal(double value);

// UTF-8 text in the string encoding, without the enclosing apostrophes:
// printable ASCII as itself (apostrophe and backslash doubled), every other
// character of the basic multilingual plane as \X2\hhhh\X0\ and every
// character beyond it as \X4\hhhhhhhh\X0\.
std::string encodeString(const std::string& utf8);

// Writes one UTF-16 code unit in the string encoding. A surrogate on its own
// is no character and is written as U+FFFD; encodeString joins pairs.
void encodeCodeUnit(std::ostream& out, char16_t unit);

// UTF-8 to UTF-16 code units on every platform. Malformed input is replaced
// by U+FFFD (one per maximal ill-formed subsequence) rather than reported.
std::u16string utf8ToWide(const std::string& utf8);

} // namespace step
