-- Rows of the lookup tables of the workspace: the QT7100 module models, the
-- default settings of their channels, and the measurement functions with their
-- ranges and resolutions. Texts are spelled exactly as the program and the
-- instrument upload compare them (range texts keep their trailing blanks).

-- Module models, in the order the New Setup lists show them.
INSERT INTO "Cards" ("Name", "Description", "Channels") VALUES
    ('KXQT7101', 'QT7101 20-channel multiplexer with 2 current channels', 22),
    ('KXQT7102', 'QT7102 16-channel multiplexer', 16),
    ('KXQT7103', 'QT7103 20-channel general-purpose switch', 20),
    ('KXQT7104', 'QT7104 4 x 8 matrix switch', 32),
    ('KXQT7105', 'QT7105 dual 4-channel RF multiplexer (50 ohm)', 8),
    ('KXQT7106', 'QT7106 dual 4-channel RF multiplexer (75 ohm)', 8),
    ('KXQT7107', 'QT7107 multifunction: 2 digital ports, totalizer, 2 analog outputs', 5),
    ('KXQT7108', 'QT7108 40-channel single-ended multiplexer', 40);

-- Functions per function type; Id order is list order. A name carries the same
-- settings under every type: some lookups go by name alone.
INSERT INTO "VTFunction" ("Id", "Type", "Name", "RangeType", "DefaultRange", "ResolutionType",
    "DefaultResolution", "DefaultUnits", "AdvSettingsType", "DefaultAdvSettings", "MinRange", "MaxRange") VALUES
    -- lower channels of the multiplexers
    (1, 1, 'DC volts', 1, 'Auto', 1, '5.5 digits', 'VDC', 515, 'OFF;1;;;;;;;;AUTO;;;;', -10.0, 10.0),
    (2, 1, 'AC volts', 2, 'Auto', 0, '', 'VAC', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 10.0),
    (3, 1, '2w ohms', 3, 'Auto', 1, '5.5 digits', 'OHM', 770, ';1;;;;;;;OFF;AUTO;;;;', 0.0, 1000.0),
    (4, 1, '4w ohms', 3, 'Auto', 1, '5.5 digits', 'OHM', 770, ';1;;;;;;;OFF;AUTO;;;;', 0.0, 1000.0),
    (5, 1, 'Frequency', 2, 'Auto', 1, '5.5 digits', 'HZ', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 1000.0),
    (6, 1, 'Period', 2, 'Auto', 1, '5.5 digits', 'SEC', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 1.0),
    (7, 1, 'Temp (type B)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (8, 1, 'Temp (type E)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (9, 1, 'Temp (type J)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (10, 1, 'Temp (type K)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (11, 1, 'Temp (type N)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (12, 1, 'Temp (type R)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (13, 1, 'Temp (type S)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (14, 1, 'Temp (type T)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (15, 1, 'Temp 2.2K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (16, 1, 'Temp 5K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (17, 1, 'Temp 10K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (18, 1, 'Temp 2w RTD', 0, '', 1, '5.5 digits', 'C', 618, ';1;;C;;85;100;;;AUTO;;;;', -10.0, 30.0),
    (19, 1, 'Temp 4w RTD', 0, '', 1, '5.5 digits', 'C', 618, ';1;;C;;85;100;;;AUTO;;;;', -10.0, 30.0),
    -- upper channels, which a four-wire measurement of the lower partner takes over
    (20, 5, 'DC volts', 1, 'Auto', 1, '5.5 digits', 'VDC', 515, 'OFF;1;;;;;;;;AUTO;;;;', -10.0, 10.0),
    (21, 5, 'AC volts', 2, 'Auto', 0, '', 'VAC', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 10.0),
    (22, 5, '2w ohms', 3, 'Auto', 1, '5.5 digits', 'OHM', 770, ';1;;;;;;;OFF;AUTO;;;;', 0.0, 1000.0),
    (23, 5, '4w ohms', 3, 'Auto', 1, '5.5 digits', 'OHM', 770, ';1;;;;;;;OFF;AUTO;;;;', 0.0, 1000.0),
    (24, 5, 'Frequency', 2, 'Auto', 1, '5.5 digits', 'HZ', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 1000.0),
    (25, 5, 'Period', 2, 'Auto', 1, '5.5 digits', 'SEC', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 1.0),
    (26, 5, 'Temp (type B)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (27, 5, 'Temp (type E)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (28, 5, 'Temp (type J)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (29, 5, 'Temp (type K)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (30, 5, 'Temp (type N)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (31, 5, 'Temp (type R)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (32, 5, 'Temp (type S)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (33, 5, 'Temp (type T)', 0, '', 1, '5.5 digits', 'C', 3610, ';1;;C;OFF;;;;;AUTO;INT;0;;', -10.0, 30.0),
    (34, 5, 'Temp 2.2K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (35, 5, 'Temp 5K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (36, 5, 'Temp 10K Therm', 0, '', 1, '5.5 digits', 'C', 522, ';1;;C;;;;;;AUTO;;;;', -10.0, 30.0),
    (37, 5, 'Temp 2w RTD', 0, '', 1, '5.5 digits', 'C', 618, ';1;;C;;85;100;;;AUTO;;;;', -10.0, 30.0),
    (38, 5, 'Temp 4w RTD', 0, '', 1, '5.5 digits', 'C', 618, ';1;;C;;85;100;;;AUTO;;;;', -10.0, 30.0),
    -- current channels
    (39, 3, 'DC current', 4, 'Auto', 1, '5.5 digits', 'ADC', 514, ';1;;;;;;;;AUTO;;;;', -1.0, 1.0),
    (40, 3, 'AC current', 4, 'Auto', 0, '', 'AAC', 516, ';;20;;;;;;;AUTO;;;;', 0.0, 1.0),
    -- digital ports
    (41, 2, 'Digital Read 8bit', 0, '', 0, '', '', 0, ';;;;;;;;;;;;;', 0.0, 255.0),
    (42, 2, 'Digital Write 8bit', 0, '', 0, '', '', 0, ';;;;;;;;;;;;;', 0.0, 255.0),
    -- totalizer: fixed range and resolution
    (43, 4, 'Totalize', 0, '', 0, '', '', 4096, ';;;;;;;;;;;;POS;', 0.0, 67108863.0),
    (44, 4, 'Totalize (Reset)', 0, '', 0, '', '', 4096, ';;;;;;;;;;;;POS;', 0.0, 67108863.0),
    -- analog outputs, not measured
    (45, 0, 'DAC Write Volt', 0, '', 0, '', '', 0, ';;;;;;;;;;;;;', -12.0, 12.0);

-- Range texts per range type, in the form the instrument upload writes them.
INSERT INTO "VTRange" ("Id", "Type", "Name") VALUES
    -- DC volts
    (1, 1, 'Auto'),
    (2, 1, '+/- 100 mV'),
    (3, 1, '+/- 1 V'),
    (4, 1, '+/- 10 V'),
    (5, 1, '+/- 100 V'),
    (6, 1, '+/- 300 V'),
    -- AC volts, and the input voltage of frequency and period
    (7, 2, 'Auto'),
    (8, 2, '100 mV'),
    (9, 2, '1 V'),
    (10, 2, '10 V'),
    (11, 2, '100 V'),
    (12, 2, '300 V'),
    -- resistance (the unit is a blank)
    (13, 3, 'Auto'),
    (14, 3, '100  '),
    (15, 3, '1 K '),
    (16, 3, '10 K '),
    (17, 3, '100 K '),
    (18, 3, '1 M '),
    (19, 3, '10 M '),
    (20, 3, '100 M '),
    -- current
    (21, 4, 'Auto'),
    (22, 4, '10 mA'),
    (23, 4, '100 mA'),
    (24, 4, '1 A');

-- Resolution texts per resolution type, finest first.
INSERT INTO "VTResolution" ("Id", "Type", "Name") VALUES
    (1, 1, '6.5 digits'),
    (2, 1, '5.5 digits'),
    (3, 1, '4.5 digits');

-- Default channel settings, grouped by model in channel order.

-- KXQT7101: channels 1-10 pair with 11-20 for four-wire measurements; 21-22 measure current.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7101', 1, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 2, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 3, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 4, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 5, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 6, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 7, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 8, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 9, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 10, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7101', 11, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 12, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 13, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 14, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 15, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 16, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 17, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 18, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 19, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 20, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7101', 21, '', FALSE, 'DC current', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'ADC', 'Off', '0.0', '0.0', 'Alarm1', '', 3),
    ('KXQT7101', 22, '', FALSE, 'DC current', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'ADC', 'Off', '0.0', '0.0', 'Alarm1', '', 3);

-- KXQT7102: channels 1-8 pair with 9-16 for four-wire measurements.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7102', 1, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 2, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 3, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 4, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 5, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 6, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 7, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 8, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7102', 9, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 10, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 11, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 12, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 13, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 14, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 15, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5),
    ('KXQT7102', 16, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 5);

-- KXQT7103: switch channels.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7103', 1, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 2, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 3, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 4, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 5, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 6, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 7, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 8, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 9, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 10, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 11, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 12, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 13, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 14, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 15, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 16, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 17, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 18, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 19, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7103', 20, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0);

-- KXQT7104: matrix crosspoints, numbered row and column.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7104', 11, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 12, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 13, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 14, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 15, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 16, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 17, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 18, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 21, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 22, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 23, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 24, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 25, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 26, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 27, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 28, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 31, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 32, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 33, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 34, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 35, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 36, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 37, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 38, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 41, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 42, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 43, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 44, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 45, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 46, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 47, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7104', 48, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0);

-- KXQT7105: two banks of four.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7105', 11, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 12, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 13, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 14, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 21, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 22, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 23, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7105', 24, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0);

-- KXQT7106: two banks of four.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7106', 11, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 12, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 13, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 14, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 21, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 22, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 23, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7106', 24, '', FALSE, '', '', '', FALSE, '', '', '', '', '', '', '', '', 0);

-- KXQT7107: ports 1-2, totalizer 3, analog outputs 4-5.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7107', 1, '', FALSE, 'Digital Read 8bit', '', '', FALSE, '', '', '', 'Off', 'XXXXXXXX', '', 'Alarm1', '', 2),
    ('KXQT7107', 2, '', FALSE, 'Digital Read 8bit', '', '', FALSE, '', '', '', 'Off', 'XXXXXXXX', '', 'Alarm1', '', 2),
    ('KXQT7107', 3, '', FALSE, 'Totalize', '', '', FALSE, '', '', '', 'Off', '0', '', 'Alarm1', '', 4),
    ('KXQT7107', 4, '', FALSE, 'DAC Write Volt', '', '', FALSE, '', '', '', '', '', '', '', '', 0),
    ('KXQT7107', 5, '', FALSE, 'DAC Write Volt', '', '', FALSE, '', '', '', '', '', '', '', '', 0);

-- KXQT7108: no four-wire pairing.
INSERT INTO "CardData" ("Name", "ChannelId", "ChannelName", "ChannelMode", "Function", "Range",
    "Resolution", "Scaling", "Gain", "Offset", "Units", "Alarms", "AlarmHi", "AlarmLo", "AlarmEvent",
    "Comment", "FunctionType") VALUES
    ('KXQT7108', 1, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 2, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 3, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 4, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 5, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 6, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 7, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 8, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 9, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 10, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 11, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 12, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 13, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 14, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 15, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 16, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 17, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 18, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 19, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 20, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 21, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 22, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 23, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 24, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 25, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 26, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 27, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 28, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 29, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 30, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 31, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 32, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 33, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 34, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 35, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 36, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 37, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 38, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 39, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1),
    ('KXQT7108', 40, '', FALSE, 'DC volts', 'Auto', '5.5 digits', FALSE, '1.0', '0.0', 'VDC', 'Off', '0.0', '0.0', 'Alarm1', '', 1);
