# Copies a text file with Windows line ends, for the packages: cmake -DIN=... -DOUT=... [-DVERSION=...] -P crlf.cmake
# With VERSION given, @VERSION@ in the text becomes that version.
cmake_minimum_required(VERSION 3.20)
file(READ "${IN}" text)
if(DEFINED VERSION)
  string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
