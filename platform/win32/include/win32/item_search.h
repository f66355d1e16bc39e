#pragma once
// Finding an item of a list, as the system's lists and combo boxes and the class library's do: from
// after a given item and round to it; by text without regard to case; by the access key of a label.
#include <functional>
#include <string>
#include <string_view>

namespace itemsearch {

// The first of `count` items after `after` (-1, or any index out of range: from the first), going
// round once, for which `fits` holds; -1 when none does.
int FirstFrom(int count, int after, const std::function<bool(int index)>& fits);

using TextOf = std::function<std::string(int index)>;

// The first item, searched as FirstFrom does, whose text starts with `wanted` (is `wanted`, if
// `exact`).
int Find(int count, int after, std::string_view wanted, bool exact, const TextOf& textOf);

// Type-ahead: the next item after `current` whose text starts with the typed `key`; -1 when none
// does or `key` is a control character.
int NextByFirstLetter(char key, int current, int count, const TextOf& textOf);

// The access key of a label ("&Yes": 'Y'), upper case; 0 when it has none ("&&" is a plain '&').
char AccessKey(std::string_view label);

// Whether a typed character is the label's access key, without regard to case.
bool IsAccessKey(char typed, std::string_view label);

}  // namespace itemsearch
