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

-- HRDOC150 qryPODR
select ((case when (kpn3.KP<>1)then kpn3.SNAME else '' end) ||
(case when (kpn2.KP<>1)then kpn2.SNAME else '' end) ||
(case when (kpn1.KP<>1)then kpn1.SNAME else '' end) ||
(case when (kpn.KP<>1)then kpn.SNAME else '' end)) as URSNAME,
kpn.KP,kpn.SNAME,
(case when (kpn1.KP<>1)then kpn1.SNAME else '' end) as SNAME1,
(case when (kpn2.KP<>1)then kpn2.SNAME else '' end) as SNAME2,
(case when (kpn3.KP<>1)then kpn3.SNAME else '' end) as SNAME3
from otzkpn kpn
left join otzkpn kpn1 on kpn1.KP=kpn.OWNER
left join otzkpn kpn2 on kpn2.KP=kpn1.OWNER
left join otzkpn kpn3 on kpn3.KP=kpn2.OWNER
left join otzruc2 ruc on ruc.KP=kpn.KP
where kpn.TN=0 and ruc.PRZ<>1 and kpn.KP>1 and ( select sew.kp      from otzkpn sew      left join otzkpn sewow1 on sewow1.kp=sew.owner      left join otzkpn sewow2 on sewow2.kp=sewow1.owner      left join otzkpn sewow3 on sewow3.kp=sewow2.owner      left join otzkpn sewow4 on sewow4.kp=sewow3.owner      left join otzkpn sewow5 on sewow5.kp=sewow4.owner      left join zpkomu ex on ex.kp=sew.kp      left join zpkomu ex1 on ex1.kp=sewow1.kp      left join zpkomu ex2 on ex2.kp=sewow2.kp      left join zpkomu ex3 on ex3.kp=sewow3.kp      left join zpkomu ex4 on ex4.kp=sewow4.kp      left join zpkomu ex5 on ex5.kp=sewow5.kp      where sew.kp=kpn.KP        and (sew.KP in (2,3) or sewow1.KP in (2,3)         or sewow2.KP in (2,3) or sewow3.KP in (2,3)         or sewow4.KP in (2,3) or sewow5.KP in (2,3)         or sew.OWNER in (2,3) or sewow1.OWNER in (2,3)         or sewow2.OWNER in (2,3) or sewow3.OWNER in (2,3)         or sewow4.OWNER in (2,3) or sewow5.OWNER in (2,3)) and (ex.KP is null and ex1.KP is null and ex2.KP is null and ex3.KP is null and ex4.KP is null and ex5.KP is null)    ) is not NULL  order by 1;

-- HRDOC150 qryExl23
Select kpn.FNAME,kpn.KP,kpn.TN, ads1.POL, ads1.FDR, dvg.NMDS as DOLN,dvg.RZ,ads1.SER,
ads1.NUM,ads1.ORG,ads1.FDVD,adf.T,kwu.NKWU,wzv.NWZV,swu.NSWU,wu.WUS,gwu.NGWU,rwk.NRWK,
vwu.NVWU,wu.NSU,wu.MOB,dvg.DTO,kpn1.SNAME as OWNM,dvg.NMDS,jz.ND,jz.DTV,kwd.NKWD,ksd.NKSD,
sem.NSEM,ads1.VDOC,((htr.ktht*100000)+(htr.ktpd*10000)+htr.nn) as SORTNN
from  KDT2IIIDVG dvg
left join  OTZKPN kpn on kpn.KP=dvg.kp
left join  ZPADS1 ads1 on ads1.KP=dvg.kp
left join  KDT2IADF adf on adf.KP=kpn.kp
left join  KDT2IIWU wu on wu.KP=kpn.kp
left join  KDIIKWU kwu on kwu.KKWU=wu.KKWU
left join  KDIIWZV wzv on wzv.KWZV=wu.KWZV
left join  KDIISWU swu on swu.KSWU=wu.KSWU
left join  KDIIGWU gwu on gwu.KGWU=wu.KGWU
left join  KDIIRWK rwk on rwk.KRWK=wu.KRWK
left join  KDIIVWU vwu on vwu.KVWU=wu.KVWU
left join  OTZKPN kpn1 on kpn1.kp=dvg.OWNER
left join  KDSDJS js on js.UNSD=dvg.UNSD
left join  KDSDJZ jz on jz.UND=js.UND
left join  KDT2IOBR obr on obr.KP=kpn.KP and obr.KTZO=1
left join  KDIKWD kwd on kwd.KKWD=obr.KKWD
left join  KDIKSD ksd on ksd.KKSD=obr.KKSD
left join  KDT2IOB ob on ob.KP=kpn.KP
left join  KDISEM sem on sem.KSEM=ob.KSEM
left join kdhtro htr on htr.owner=kpn.owner and htr.kd=dvg.kd and htr.kp=dvg.kp and htr.dto=dvg.dto and htr.ktd=dvg.ktd and htr.unsd=dvg.unsd
where dvg.owner=:PODR and kpn.TN>0 and (wu.KP is not NULL and wu.KOWS<>3 and wu.KOWS<>0) and
dvg.UNSD=(select first 1 dvg2.unsd
        from KDT2IIIDVG dvg2
        where dvg2.kp=kpn.kp and dvg2.DTO<=:DTO
        order by dvg2.DTO desc, dvg2.UNSD desc)
and dvg.KTD not in (121,122) and dvg.OKL>0 and dvg.STV>0 and dvg.ktpd=1;

-- HRDOC150 qryFam07
SELECT fam.FIO,fam.DTR, str.NSR as strN
FROM KDT2IFAM fam
left join KDISR str on str.ksr=fam.KSR
WHERE fam.KP= :KP
order by fam.KSR;

-- HRDOC150 title
select FNAME from otzkpn where KP=:KP;

-- HRDOC310 qryKpn
select  ((case when s2.sname is NULL then '' else s2.sname||' ' end)
||(case when s3.sname is NULL then '' else s3.sname||' ' end)
||(case when s4.sname is NULL then '' else s4.sname||' ' end)
||(case when s1.sname is NULL then '' else s1.sname||' ' end)) as srt,
kpn.kp,
t2.dto,t2.ktd,
kpn.tn, kpn.fname,
kpn.owner,t2.nmds, s1.sname,s3.sname as sname2,
ad1.fdr,
zv.nwzv zvanie,
wu.wus,
adr.gor,
adr.ulname,
adr.dom,
adr.korp,
adr.kv

from kdt2iiidvg t2
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=kpn.owner
left join otzruc ruc on ruc.owner=kpn.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3

left join zpads1 ad1 on ad1.kp=kpn.kp
left join kdt2iiwu wu on wu.kp=t2.kp
left join kdiiwzv zv on zv.kwzv=wu.kwzv
left join zpadres  adr on adr.kp=t2.kp



where t2.dto>=:fd1 and t2.dto<=:fd2
and (t2.ktd=121 or t2.ktd=21)  /*and t2.okl>0*/ and t2.book=1
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2.owner=:ow or 0=:md)

and   ((0=:PKRW1)or(0<:PKRW2 and wu.krwk=:PKRW3))
      and
      ((0=:PKSU1)or(0<:PKSU2 and wu.kswu=:PKSU3))


order by 1,kpn.fname,t2.dto desc;

-- HRDOC310 qryPRI
select t2.dto,t2.owner
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp and t2dvg.ktd=21 and t2dvg.book=1 )
and t2.kp=:kp1;

-- HRDOC310 qryUV
select t2.dto,t2.owner
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp and t2dvg.ktd=121 and t2dvg.book=1)
and t2.kp=:kp1;

-- HRDOC310 qryDOLJ
select t2.dto,t2.nmds
from kdt2iiidvg t2

where t2.dto=(select max(t2dvg.dto) from kdt2iiidvg t2dvg where t2dvg.kp=:kp)
and t2.kp=:kp1;

-- HRDOC310 qryKP
select sname from otzkpn
where kp=:kp;

-- HRDOC010 qryKpn
select s2.sname as sort1,
(case when s3.sname is null
then s1.sname
else s3.sname end) sort2,
(case when s4.sname is null
then (case when s3.sname is null then null else s1.sname end)
else s4.sname end) sort3,
(case when s4.sname is null
then null
else s1.sname end) sort4,
kpn.kp, kpn.tn, kpn.fname,
t2st.owner, t2st.nmds,
ad1.fdr, ad1.ser,ad1.num, ad1.org, ad1.fdvd, adr.ind, adr.st, adr.regn,
adr.gor, adr.nas, adr.ulname,adr.dom, adr.korp, adr.kv, adr.adrin,swu.nswu,
wzv.nwzv,iiwu.wus,rwk.nrwk,adf.t,
adf.INDF, adf.STF, adf.REGF,
adf.GORF, adf.NASF, adf.ULNAMEF,adf.DOMF, adf.KORPF, adf.KVF, adf.ADRINF

from kdt2iiwu t2
left join kdt2iiidvg t2st on t2st.kp=t2.kp 
left join otzkpn kpn on kpn.kp=t2.kp
left join otzkpn s1 on s1.kp=t2st.owner
left join otzruc ruc on ruc.owner=t2st.owner
left join otzkpn s2 on s2.kp=ruc.ow1
left join otzkpn s3 on s3.kp=ruc.ow2
left join otzkpn s4 on s4.kp=ruc.ow3

left join zpads1 ad1 on ad1.kp=kpn.kp
left join zpadres adr on adr.kp=kpn.kp
left join kdt2iiwu iiwu on iiwu.kp=kpn.kp
left join kdt2iadf adf on adf.kp=kpn.kp
left join kdiiswu swu on swu.kswu=iiwu.kswu
left join kdiiwzv wzv on wzv.kwzv=iiwu.kwzv
left join kdiirwk rwk on rwk.krwk=iiwu.krwk
where t2.kows<>3 and t2.kows<>0 and
t2st.UNSD=(select first 1 t2dvg.UNSD from kdt2iiidvg t2dvg where t2dvg.kp=t2.kp and t2dvg.dto<=:fd order by t2dvg.DTO desc,t2dvg.UNSD desc)
and t2st.ktd not in (121,122) and t2st.ktpd=1 and t2st.OKL>0 and t2st.STV>0
and (ruc.ow1=:ow1 or ruc.ow2=:ow2 or ruc.ow3=:ow3 or ruc.ow4=:ow4 or ruc.ow5=:ow5
 or ruc.ow6=:ow6 or ruc.ow7=:ow7 or t2st.owner=:ow or 0=:md);

-- HRDOC010 family
select kdisr.nsr,kdt2ifam.fio,kdt2ifam.dtr from kdt2ifam left join kdisr on kdisr.ksr=kdt2ifam.ksr where kp=:kp;

