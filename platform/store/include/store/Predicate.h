#pragma once

#include "store/PersistentIdentifier.h"
#include "store/Value.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace store {

// The condition tree behind a Predicate. Names are checked against the schema when the
// predicate is used: an unknown name or a value of the wrong kind is a StoreError then.
struct PredicateExpression {
    enum class Kind {
        attributeEquals,    // attribute `key` equals `value` (absent equals absent)
        relationshipEquals, // the identifier of to-one `key` equals `identifier` (absent equals absent)
        conjunction,        // `lhs` and `rhs`
    };
    Kind kind = Kind::attributeEquals;
    std::string key;
    Value value;
    std::optional<PersistentIdentifier> identifier;
    std::shared_ptr<const PredicateExpression> lhs;
    std::shared_ptr<const PredicateExpression> rhs;
};

// A condition over models of type T, evaluated in the store and over unsaved changes alike.
template <class T> class Predicate {
public:
    explicit Predicate(std::shared_ptr<const PredicateExpression> expression)
        : expression_(std::move(expression)) {}

    // `attribute == value`.
    static Predicate equals(std::string attribute, Value value) {
        PredicateExpression e;
        e.kind = PredicateExpression::Kind::attributeEquals;
        e.key = std::move(attribute);
        e.value = std::move(value);
        return Predicate(std::make_shared<const PredicateExpression>(std::move(e)));
    }
    // `relationship?.persistentModelID == identifier`.
    static Predicate relationshipEquals(std::string relationship,
                                        std::optional<PersistentIdentifier> identifier) {
        PredicateExpression e;
        e.kind = PredicateExpression::Kind::relationshipEquals;
        e.key = std::move(relationship);
        e.identifier = std::move(identifier);
        return Predicate(std::make_shared<const PredicateExpression>(std::move(e)));
    }

    friend Predicate operator&&(const Predicate& a, const Predicate& b) {
        PredicateExpression e;
        e.kind = PredicateExpression::Kind::conjunction;
        e.lhs = a.expression_;
        e.rhs = b.expression_;
        return Predicate(std::make_shared<const PredicateExpression>(std::move(e)));
    }

    const std::shared_ptr<const PredicateExpression>& expression() const { return expression_; }

private:
    std::shared_ptr<const PredicateExpression> expression_;
};

} // namespace store
