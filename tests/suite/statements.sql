/* Every complete statement text the library runs, one entry per "-- <command or routine> <query>"
   label, terminated by ";". Department-set conditions are expanded for the set {2, 3}. */

-- GetGEN_ID UND_GEN
select GEN_ID(UND_GEN,1) from RDB$DATABASE;

-- GetGEN_ID UNSD_GEN
select GEN_ID(UNSD_GEN,1) from RDB$DATABASE;

-- GetLocEx
select * from SPCONST where idconst=:PIDC;

-- GetMonopol
select ct.name,ct.cnst from spconst ct where ct.idconst='MONOPOL';

-- GetDopUsrMon
select ct.name from spconst ct where ct.idconst='DOPUSRMON';

-- SetMonopol select
select ct.idconst from spconst ct where ct.idconst='MONOPOL';

-- SetMonopol update
update spconst set name=:name,cnst=:cnst where idconst='MONOPOL';

-- SetMonopol insert
insert into spconst (idconst,name,cnst) values('MONOPOL',:name,:cnst);

-- SetDopUsrMon select
select ct.idconst from spconst ct where ct.idconst='DOPUSRMON';

-- SetDopUsrMon update
update spconst set name=:name where idconst='DOPUSRMON';

-- SetDopUsrMon insert
insert into spconst (idconst,name,cnst) values('DOPUSRMON',:name,NULL);

-- LoadKpSewFromZPClients
select kpsew from zpclients where USR=:USR;

-- GetKpSewForWhere
select kpn.KP from otzkpn kpn where kpn.TN>0 and ( select sew.kp      from otzkpn sew      left join otzkpn sewow1 on sewow1.kp=sew.owner      left join otzkpn sewow2 on sewow2.kp=sewow1.owner      left join otzkpn sewow3 on sewow3.kp=sewow2.owner      left join otzkpn sewow4 on sewow4.kp=sewow3.owner      left join otzkpn sewow5 on sewow5.kp=sewow4.owner      left join zpkomu ex on ex.kp=sew.kp      left join zpkomu ex1 on ex1.kp=sewow1.kp      left join zpkomu ex2 on ex2.kp=sewow2.kp      left join zpkomu ex3 on ex3.kp=sewow3.kp      left join zpkomu ex4 on ex4.kp=sewow4.kp      left join zpkomu ex5 on ex5.kp=sewow5.kp      where sew.kp=kpn.KP        and (sew.KP in (2,3) or sewow1.KP in (2,3)         or sewow2.KP in (2,3) or sewow3.KP in (2,3)         or sewow4.KP in (2,3) or sewow5.KP in (2,3)         or sew.OWNER in (2,3) or sewow1.OWNER in (2,3)         or sewow2.OWNER in (2,3) or sewow3.OWNER in (2,3)         or sewow4.OWNER in (2,3) or sewow5.OWNER in (2,3)) and (ex.KP is null and ex1.KP is null and ex2.KP is null and ex3.KP is null and ex4.KP is null and ex5.KP is null)    ) is not NULL;

-- ref_comp spuuk
select * from spuuk;

-- ref_comp ZPCLIENTS
select * from ZPCLIENTS where usr='SYSDBA';

-- ref_comp otzkpn
select * from otzkpn where kp=1;

-- ref_comp VERBASSM
select vsm.IDCLIENT as IDCLIENT, vsm.IDKPV as IDKPV from VERBASSM vsm where vsm.IDSMX=0;

-- ref_comp consth
select consth.c_d from consth where consth.c_key=:c_key;

-- ini_ZPPASP
select pasp.INN as INN,pasp.GNI as GNI,pasp.NASH as NASH,pasp.BUH as BUH, pasp1.N as N,pasp1.OGRN as OGRN,pasp1.OKATO as OKATO,pasp1.OKWED as OKWED, pasp1.OKDP as OKDP,pasp1.OKOGU as OKOGU,pasp1.OKONH as OKONH,pasp1.OKOPF as OKOPF, pasp1.OKFS as OKFS,pasp1.OKPO as OKPO,pasp1.KPP as KPP,pasp1.RGPF as RGPF, pasp1.RGFSS as RGFSS,pasp1.RGFOMS as RGFOMS,pasp1.RASH as RASH,pasp1.KASSIR as KASSIR, pasp1.ZAMDIR as ZAMDIR,pasp2.BSKS as BSKS,pasp2.BSKSS as BSKSS,pasp2.BSKK as BSKK, pasp2.NDFLFB as NDFLFB,pasp2.TRAVM as TRAVM,pasp2.PROF as PROF,pasp2.PERKOP as PERKOP, pasp2.DOSTAV as DOSTAV,pasp2.ESNKOP as ESNKOP,pasp2.KBU as KBU,kpnbuh.SNAME as BUHSNAME, kpnbuh.FNAME as BUHFNAME,kpnkas.SNAME as KASSNAME,kpnkas.FNAME as KASFNAME, kpnzamd.SNAME as ZAMDSNAME,kpnzamd.FNAME as ZAMDFNAME,pasp2.USN as USN,pasp2.KBUO as KBUO, pasp1.NACHOK,pasp1.OKTMO from ZPPASP pasp left join ZPPASP1 pasp1 on pasp1.P=pasp.P left join ZPPASP2 pasp2 on pasp2.P=pasp.P left join OTZKPN kpnbuh on kpnbuh.KP=pasp.BUH left join OTZKPN kpnkas on kpnkas.KP=pasp1.KASSIR left join OTZKPN kpnzamd on kpnzamd.KP=pasp1.ZAMDIR where pasp.P=1;

-- f_skpw zpkpv
select n,k from zpkpv where pr=:pr;

-- f_skpw OTZKPN
select owner,tn, sname, fname,kp from OTZKPN where kp=:kp;

-- f_skpw zplspro
select t1.peri1 from zplspro t1 where t1.kp=:kp and t1.fd>=:fd1 and t1.fd<:fd2;

-- f_skpw OTZKPN owner
select owner,kp, sname, fname from OTZKPN where kp=:kp;

-- CalcStage
select DTO,DTU,TSTG1,TSTG2,TSTG4,TSTG8,TSTG16,TSTG32,TSTG64,KF1,KF2,KF4, KF8,KF16,KF32,KF64 from KDT2ITK where KP=:KP and BOOK=1 and (DTU is NULL or DTU>=:DTO) and DTO<=:DTK;
