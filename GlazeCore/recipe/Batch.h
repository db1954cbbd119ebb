#pragma once

#include "GlazeCore/book/BookTypes.h"
#include "GlazeCore/core/Error.h"

#include <optional>
#include <string>
#include <vector>

/// The weights to put on the scale for a batch of a recipe.
namespace GlazeCore::Batch {

/// Why a recipe cannot be scaled to a batch; the message is the sentence shown instead of the table.
class BatchProblem : public Error {
public:
    explicit BatchProblem(std::string message) : m_message(std::move(message)) {}
    std::string message() const override { return m_message; }
    friend bool operator==(const BatchProblem& a, const BatchProblem& b) { return a.m_message == b.m_message; }

private:
    std::string m_message;
};

/// One weighed line, in the order of the recipe's lines.
struct Row {
    std::string materialID;
    double grams = 0;
    bool isAddition = false;
};

/// Grams of each finite positive line (additions scaled like the base) for a batch of `batchWeight`
/// grams, rounded to the scale's `step` when the step is finite and above 0. Throws `BatchProblem`.
std::vector<Row> weights(const Recipe& recipe, double batchWeight, double step);

/// The rows of `weights`, or no rows when it throws.
std::vector<Row> weightsOrEmpty(const Recipe& recipe, double batchWeight, double step);

/// The decimals `weights` rounds the grams to for this step, so they can be shown with exactly those
/// digits; none when the step is not finite and above 0 and nothing is rounded.
std::optional<int> roundingDecimals(double step);

/// The sentence of what `weights` throws for the same arguments; none when it succeeds.
std::optional<std::string> problemText(const Recipe& recipe, double batchWeight, double step);

} // namespace GlazeCore::Batch
