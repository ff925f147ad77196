#pragma once

// The bodies the program places: the Moon and the planets. Never the Sun.
enum class Body { Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune };
constexpr int BodyCount = 8;
