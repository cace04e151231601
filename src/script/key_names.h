// The fixed vocabulary of key names a key step can hold, and their Win32 virtual-key codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace keyvora {

// Exact bytewise lookup; 0 for a name not in the table.
std::int32_t key_code_from_name(std::string_view name);

// The name of a code; the empty text for a code not in the table.
std::string key_name_from_code(std::int32_t code);

}  // namespace keyvora
