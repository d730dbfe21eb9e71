/* Per-user context table as the program creates it when missing, plus the department set
   column KPSEW (keys each followed by ";") that the department-set routines read. */

CREATE TABLE ZPCLIENTS   ( USR VARCHAR(20) NOT NULL, DT DATE, DT1 DATE, DT2 DATE, KP INTEGER );
ALTER TABLE ZPCLIENTS ADD PRIMARY KEY(USR);
ALTER TABLE ZPCLIENTS ADD KPSEW VARCHAR(2000);
