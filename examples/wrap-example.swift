import Foundation

// Brindlewort re-flows line comments like this one, which was typed as one very long line and is far wider than anyone wants to read in a code review.
//
// Lists keep their hanging indents:
// - the first item of the list is long enough that it has to be wrapped onto a second line
// - the second item is short
// 1. numbered items work the same way, and their continuation lines line up under the text
struct Parser {
    /// Doc comments with three slashes are wrapped too, keeping all three slashes on every line they produce.
    func parse(_ text: String) -> [String] {
        // Code lines are never touched by the default scope.
        return text.split(separator: "\n").map(String.init)
    }
}
