// Stand-ins for the word processor and the spreadsheet program, registered under their ProgIDs
// "Word.Application" and "Excel.Application" in a test prefix, so that the mail merge drives
// them exactly as it drives the real programs: late-bound, by member names.
//
// Every call is appended, one line each, to the UTF-8 file that FAKE_OFFICE_LOG names:
//   Kind.Member(positional, Named:=value)   a method or property read
//   Kind.Member := value                     a property written
// where Kind is the object's kind (Word, Document, StoryRange, Find, Excel,
// Workbook, Sheet, Range, ...). Creating an application logs "Word.Application created". Printing
// appends what the document holds to FAKE_OFFICE_LOG + ".druck", after a line
// "@print Kind copies=N from=F to=T" (Excel adds collate and printer). FAKE_OFFICE_FAIL =
// "Kind.Member" makes that call fail as a program's call fails, with an exception description.
//
// Documents are plain UTF-8 text files, one record a line:
//   @story                    starts a story (body, header, ...); the lines that follow are its
//                             paragraphs, which the story's Text joins with CR as Word does
//   @sheet NAME               starts a worksheet
//   @cell ROW COLUMN TEXT     a cell of the current sheet
//   @created SERIAL           the workbook's "Creation Date" property, as a date serial
// Cell texts are typed as a German Excel types what is keyed in: a number is a number, a date
// DD.MM.YYYY a date, anything else (or anything after a leading apostrophe) a text. Range values
// are read back with those kinds, a block as a 2-D array from 1 as Excel hands it to a macro.
// Saving writes the same format back, bar the creation date.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_FAKE_OFFICE_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_FAKE_OFFICE_H_

// {6f1d3c52-8e0a-4d7b-9a51-3b2f0c7e9a01}, {6f1d3c52-8e0a-4d7b-9a51-3b2f0c7e9a02}
#define FAKE_OFFICE_WORD_CLSID L"{6F1D3C52-8E0A-4D7B-9A51-3B2F0C7E9A01}"
#define FAKE_OFFICE_EXCEL_CLSID L"{6F1D3C52-8E0A-4D7B-9A51-3B2F0C7E9A02}"

// Exported: the number of the fake's objects still alive (0 once every caller let go).
extern "C" long __stdcall FakeOfficeLiveObjects();

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_FAKE_OFFICE_H_
