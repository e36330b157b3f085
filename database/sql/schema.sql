-- Schema of the workspace database "tvane.mdb". Column order is the exchange
-- order of the recordsets. Texts hold at most 255 characters; dates are local
-- date and time; yes/no columns are booleans. Names compare case-sensitively.

CREATE TABLE "Setup" (
    "Name" VARCHAR(255),
    "DateTime" TIMESTAMP,
    "User" VARCHAR(255),
    "Note" VARCHAR(255),
    "SetupFile" VARCHAR(255),
    "DatasetFile" VARCHAR(255)
);
CREATE INDEX "SetupByName" ON "Setup" ("Name");

CREATE TABLE "Dataset" (
    "SetupName" VARCHAR(255),
    "Name" VARCHAR(255),
    "DateTime" TIMESTAMP,
    "User" VARCHAR(255),
    "Note" VARCHAR(255),
    "DatasetKey" VARCHAR(255)
);
CREATE INDEX "DatasetBySetup" ON "Dataset" ("SetupName", "Name");

-- The module models; their row order is the order of the New Setup lists.
CREATE TABLE "Cards" (
    "Name" VARCHAR(255),
    "Description" VARCHAR(255),
    "Channels" INTEGER
);

-- The default settings of each channel of a model, grouped by model in channel
-- order: a new setup walks the rows of a model in table order.
CREATE TABLE "CardData" (
    "Name" VARCHAR(255),
    "ChannelId" INTEGER,
    "ChannelName" VARCHAR(255),
    "ChannelMode" BOOLEAN,
    "Function" VARCHAR(255),
    "Range" VARCHAR(255),
    "Resolution" VARCHAR(255),
    "Scaling" BOOLEAN,
    "Gain" VARCHAR(255),
    "Offset" VARCHAR(255),
    "Units" VARCHAR(255),
    "Alarms" VARCHAR(255),
    "AlarmHi" VARCHAR(255),
    "AlarmLo" VARCHAR(255),
    "AlarmEvent" VARCHAR(255),
    "Comment" VARCHAR(255),
    "FunctionType" INTEGER
);
CREATE INDEX "CardDataByChannel" ON "CardData" ("Name", "ChannelId");

-- The functions offered for each function type, in list order.
CREATE TABLE "VTFunction" (
    "Id" INTEGER,
    "Type" INTEGER,
    "Name" VARCHAR(255),
    "RangeType" INTEGER,
    "DefaultRange" VARCHAR(255),
    "ResolutionType" INTEGER,
    "DefaultResolution" VARCHAR(255),
    "DefaultUnits" VARCHAR(255),
    "AdvSettingsType" INTEGER,
    "DefaultAdvSettings" VARCHAR(255),
    "MinRange" DOUBLE PRECISION,
    "MaxRange" DOUBLE PRECISION
);
CREATE INDEX "VTFunctionByType" ON "VTFunction" ("Type", "Name");

CREATE TABLE "VTRange" (
    "Id" INTEGER,
    "Type" INTEGER,
    "Name" VARCHAR(255)
);
CREATE INDEX "VTRangeByType" ON "VTRange" ("Type", "Id");

-- Resolutions are listed finest first: the measurement page couples list
-- positions 0, 1, 2 with the integration times.
CREATE TABLE "VTResolution" (
    "Id" INTEGER,
    "Type" INTEGER,
    "Name" VARCHAR(255)
);
CREATE INDEX "VTResolutionByType" ON "VTResolution" ("Type", "Id");
