#pragma once
#include <stdexcept>
#include <string>

namespace puzzle {

// A piece's mask could not be created. The cut catches exactly this kind and discards the puzzle.
class OutOfMemoryError : public std::runtime_error {
public:
    OutOfMemoryError()
        : std::runtime_error("Not enough memory!")
    {
    }
};

// An outline or shading strip number that the program does not carry.
class ResourceNotFoundError : public std::runtime_error {
public:
    explicit ResourceNotFoundError(int number)
        : std::runtime_error("Resource " + std::to_string(number) + " not found")
    {
    }
};

} // namespace puzzle
