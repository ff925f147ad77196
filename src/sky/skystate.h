#pragma once

// Placeholder; the sky code defines the fields.
struct SkyState {};
