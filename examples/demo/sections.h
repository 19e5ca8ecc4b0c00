#pragma once

// Sections of the demonstration program, one per family of classes.

void DemoNumeric();
void DemoIntervals();
void DemoArchive();
void DemoText();
void DemoArcs();
void DemoComponents();
void DemoXml();
void DemoGrids();
void DemoSets();
void DemoFonts();
void DemoModules();
void DemoBlob();
void DemoResources();
