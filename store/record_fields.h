#pragma once
// The one-line records of Extra/Last.dat and Extra/Wrap.ini: fields in double quotes,
// separated by commas, the line ended by CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace korvex::store {

/// The first `count` fields of `text`, read as the record format is read back: fields end at a
/// comma or a line break; a field in double quotes runs to its closing quote (a doubled quote
/// inside stands for one quote) and whatever follows it up to the next separator is dropped;
/// other fields have spaces and tabs around them removed. Missing fields are empty, so the
/// result always holds `count` texts.
std::vector<std::string> readRecordFields(std::string_view text, std::size_t count);

/// `field` in double quotes, with any quote inside doubled so it reads back whole.
std::string quoteField(std::string_view field);

}  // namespace korvex::store
