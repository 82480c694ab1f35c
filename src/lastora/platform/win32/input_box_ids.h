// Control ids of the input box's dialog template, shared by the template and its code.
#ifndef LASTORA_PLATFORM_WIN32_INPUT_BOX_IDS_H_
#define LASTORA_PLATFORM_WIN32_INPUT_BOX_IDS_H_

#define LASTORA_INPUT_BOX_DIALOG 101
#define LASTORA_INPUT_BOX_PROMPT 1001
#define LASTORA_INPUT_BOX_TEXT 1002

#endif  // LASTORA_PLATFORM_WIN32_INPUT_BOX_IDS_H_
