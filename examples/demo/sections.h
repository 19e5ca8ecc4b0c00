#pragma once

// Sections of the demonstration program, one per family of classes.
