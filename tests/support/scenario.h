#pragma once
// Level texts written as their grids, for tests that set up small rooms.
#include <string>
#include <string_view>

// A level text from its grids, rows separated by '|'. An empty floor means
// plain floor under every cell, an empty top nothing on top.
std::string levelText(std::string_view objects, std::string_view floor = {},
                      std::string_view top = {});
