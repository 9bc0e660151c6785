#pragma once
#include <string>
#include <vector>

// The spyware definitions of "deda.twk": a serialised string array. Each
// record holds pieces separated by ";"; a definition is a display name
// followed by a class identifier in registry form with braces.

namespace SpywareDefinitions {
// The records exactly as stored in the file, in file order. Empty at process
// start; filled once while the main window initialises.
extern std::vector<std::string> records;
// The pieces of every record but the last, flattened in order; never empty
// pieces. Class identifiers stand at even positions, each preceded by its
// display name.
extern std::vector<std::string> tokens;
}

// Reads the records of a definitions file image (the whole file's bytes).
// The layout, all integers little-endian:
//   count:   16-bit; 0xFFFF means a 32-bit count follows.
//   element: a length prefix, then that many 8-bit characters:
//            a byte below 0xFF is the length; otherwise 0xFF and a 16-bit
//            length, where 0xFFFF means a 32-bit length follows and 0xFFFE
//            marks a string of 16-bit little-endian characters whose own
//            length prefix (same rules) follows, counted in characters.
// Bytes after the last element are ignored. Replaces the content of records.
// Returns true for an undamaged image. When the count or a length runs past
// the end of the image, records keeps the elements read whole before the
// damage and the result is false; nothing larger than the image is ever
// allocated, nor reserved for records. A failed allocation likewise keeps
// the elements read whole before it, with the result false.
bool ReadDefinitionRecords(const std::string& fileBytes, std::vector<std::string>& records);

// Appends to tokens the pieces of every record but the last (none when there
// are fewer than two records). A run of ";" is one separator; ";" at either
// end separates nothing; an empty record gives no piece.
void SplitDefinitionRecords(const std::vector<std::string>& records, std::vector<std::string>& tokens);

// The image of a definitions file holding these records, in the layout that
// ReadDefinitionRecords reads: the count as 16 bits, or 0xFFFF and 32 bits
// from 65535 on; each record's length as one byte below 255, else 0xFF and 16
// bits below 0xFFFE, else 0xFF, 0xFFFF and 32 bits (0xFFFE is never written as
// a 16-bit length, since it marks a string of 16-bit characters); then its
// 8-bit characters. Used by the build's generator of "deda.twk".
std::string WriteDefinitionRecords(const std::vector<std::string>& records);
