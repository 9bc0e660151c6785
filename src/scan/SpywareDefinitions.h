#pragma once
#include <string>
#include <vector>

// Reads the records of a definitions file image ("deda.twk"); replaces the
// content of records.
bool ReadDefinitionRecords(const std::string& fileBytes, std::vector<std::string>& records);

// Appends the pieces of every record but the last to tokens.
void SplitDefinitionRecords(const std::vector<std::string>& records, std::vector<std::string>& tokens);
