// Resource ids shared by the resource scripts and the code.
#pragma once

// Strings
#define IDS_APPLICATION_TITLE 57344
#define IDS_VERSION 57350

// The payload archive, RT_RCDATA
#define IDR_PAYLOAD 150
