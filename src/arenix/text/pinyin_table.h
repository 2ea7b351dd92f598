// The toneless syllables of the first level of GB2312, with the code of the
// first character of each. The first level (GBK 0xB0A1..0xD7F9) is ordered
// by reading, so a character reads as the syllable with the largest start
// code not above its own code.
//
// Start codes are GBK code values (lead*256+trail-65536). They were derived
// by scripts/derive_pinyin_table.js from the readings of the npm package
// pinyin-pro: each syllable starts at the first first-level character, after
// the previous syllable's start, that reads only this syllable, or at the
// characters just before it whose usual reading it is. The script checks
// that the codes rise strictly and agree with the start codes known
// independently (a, ai, an, ... zhong, zuo). 397 rows: the component's
// older list of 395 lacked long and pou, so that 龙 read liu and 剖 po.
// Do not edit by hand; run the script with --table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace arenix::text {

struct PinyinSyllable {
  std::u16string_view name;  // lower case; ü written v (lv, nv), lüe and nüe as lue, nue
  int16_t start;             // GBK code value of its first character
};

inline constexpr int16_t kPinyinFirstCode = -20319;  // 0xB0A1
inline constexpr int16_t kPinyinLastCode = -10247;   // 0xD7F9

inline constexpr std::array<PinyinSyllable, 397> kPinyinSyllables{{
    {u"a", -20319}, {u"ai", -20317}, {u"an", -20304}, {u"ang", -20295}, {u"ao", -20292},
    {u"ba", -20283}, {u"bai", -20265}, {u"ban", -20257}, {u"bang", -20242}, {u"bao", -20230},
    {u"bei", -20051}, {u"ben", -20036}, {u"beng", -20032}, {u"bi", -20026}, {u"bian", -20002},
    {u"biao", -19990}, {u"bie", -19986}, {u"bin", -19982}, {u"bing", -19976}, {u"bo", -19805},
    {u"bu", -19786}, {u"ca", -19775}, {u"cai", -19774}, {u"can", -19763}, {u"cang", -19756},
    {u"cao", -19751}, {u"ce", -19746}, {u"ceng", -19741}, {u"cha", -19739}, {u"chai", -19728},
    {u"chan", -19725}, {u"chang", -19715}, {u"chao", -19540}, {u"che", -19531}, {u"chen", -19525},
    {u"cheng", -19515}, {u"chi", -19500}, {u"chong", -19484}, {u"chou", -19479}, {u"chu", -19467},
    {u"chuai", -19289}, {u"chuan", -19288}, {u"chuang", -19281}, {u"chui", -19275},
    {u"chun", -19270}, {u"chuo", -19263}, {u"ci", -19261}, {u"cong", -19249}, {u"cou", -19243},
    {u"cu", -19242}, {u"cuan", -19238}, {u"cui", -19235}, {u"cun", -19227}, {u"cuo", -19224},
    {u"da", -19218}, {u"dai", -19212}, {u"dan", -19038}, {u"dang", -19023}, {u"dao", -19018},
    {u"de", -19006}, {u"deng", -19003}, {u"di", -18996}, {u"dian", -18977}, {u"diao", -18961},
    {u"die", -18952}, {u"ding", -18783}, {u"diu", -18774}, {u"dong", -18773}, {u"dou", -18763},
    {u"du", -18755}, {u"duan", -18741}, {u"dui", -18735}, {u"dun", -18731}, {u"duo", -18722},
    {u"e", -18710}, {u"en", -18697}, {u"er", -18696}, {u"fa", -18526}, {u"fan", -18518},
    {u"fang", -18501}, {u"fei", -18490}, {u"fen", -18478}, {u"feng", -18463}, {u"fo", -18448},
    {u"fou", -18447}, {u"fu", -18446}, {u"ga", -18239}, {u"gai", -18237}, {u"gan", -18231},
    {u"gang", -18220}, {u"gao", -18211}, {u"ge", -18201}, {u"gei", -18184}, {u"gen", -18183},
    {u"geng", -18181}, {u"gong", -18012}, {u"gou", -17997}, {u"gu", -17988}, {u"gua", -17970},
    {u"guai", -17964}, {u"guan", -17961}, {u"guang", -17950}, {u"gui", -17947}, {u"gun", -17931},
    {u"guo", -17928}, {u"ha", -17922}, {u"hai", -17759}, {u"han", -17752}, {u"hang", -17733},
    {u"hao", -17730}, {u"he", -17721}, {u"hei", -17703}, {u"hen", -17701}, {u"heng", -17697},
    {u"hong", -17692}, {u"hou", -17683}, {u"hu", -17676}, {u"hua", -17496}, {u"huai", -17487},
    {u"huan", -17482}, {u"huang", -17468}, {u"hui", -17454}, {u"hun", -17433}, {u"huo", -17427},
    {u"ji", -17417}, {u"jia", -17202}, {u"jian", -17185}, {u"jiang", -16983}, {u"jiao", -16970},
    {u"jie", -16942}, {u"jin", -16915}, {u"jing", -16733}, {u"jiong", -16708}, {u"jiu", -16706},
    {u"ju", -16689}, {u"juan", -16664}, {u"jue", -16657}, {u"jun", -16647}, {u"ka", -16474},
    {u"kai", -16470}, {u"kan", -16465}, {u"kang", -16459}, {u"kao", -16452}, {u"ke", -16448},
    {u"ken", -16433}, {u"keng", -16429}, {u"kong", -16427}, {u"kou", -16423}, {u"ku", -16419},
    {u"kua", -16412}, {u"kuai", -16407}, {u"kuan", -16403}, {u"kuang", -16401}, {u"kui", -16393},
    {u"kun", -16220}, {u"kuo", -16216}, {u"la", -16212}, {u"lai", -16205}, {u"lan", -16202},
    {u"lang", -16187}, {u"lao", -16180}, {u"le", -16171}, {u"lei", -16169}, {u"leng", -16158},
    {u"li", -16155}, {u"lia", -15959}, {u"lian", -15958}, {u"liang", -15944}, {u"liao", -15933},
    {u"lie", -15920}, {u"lin", -15915}, {u"ling", -15903}, {u"liu", -15889}, {u"long", -15878},
    {u"lou", -15707}, {u"lu", -15701}, {u"lv", -15681}, {u"luan", -15667}, {u"lue", -15661},
    {u"lun", -15659}, {u"luo", -15652}, {u"ma", -15640}, {u"mai", -15631}, {u"man", -15625},
    {u"mang", -15454}, {u"mao", -15448}, {u"me", -15436}, {u"mei", -15435}, {u"men", -15419},
    {u"meng", -15416}, {u"mi", -15408}, {u"mian", -15394}, {u"miao", -15385}, {u"mie", -15377},
    {u"min", -15375}, {u"ming", -15369}, {u"miu", -15363}, {u"mo", -15362}, {u"mou", -15183},
    {u"mu", -15180}, {u"na", -15165}, {u"nai", -15158}, {u"nan", -15153}, {u"nang", -15150},
    {u"nao", -15149}, {u"ne", -15144}, {u"nei", -15143}, {u"nen", -15141}, {u"neng", -15140},
    {u"ni", -15139}, {u"nian", -15128}, {u"niang", -15121}, {u"niao", -15119}, {u"nie", -15117},
    {u"nin", -15110}, {u"ning", -15109}, {u"niu", -14941}, {u"nong", -14937}, {u"nu", -14933},
    {u"nv", -14930}, {u"nuan", -14929}, {u"nue", -14928}, {u"nuo", -14926}, {u"o", -14922},
    {u"ou", -14921}, {u"pa", -14914}, {u"pai", -14908}, {u"pan", -14902}, {u"pang", -14894},
    {u"pao", -14889}, {u"pei", -14882}, {u"pen", -14873}, {u"peng", -14871}, {u"pi", -14857},
    {u"pian", -14678}, {u"piao", -14674}, {u"pie", -14670}, {u"pin", -14668}, {u"ping", -14663},
    {u"po", -14654}, {u"pou", -14646}, {u"pu", -14645}, {u"qi", -14630}, {u"qia", -14594},
    {u"qian", -14429}, {u"qiang", -14407}, {u"qiao", -14399}, {u"qie", -14384}, {u"qin", -14379},
    {u"qing", -14368}, {u"qiong", -14355}, {u"qiu", -14353}, {u"qu", -14345}, {u"quan", -14170},
    {u"que", -14159}, {u"qun", -14151}, {u"ran", -14149}, {u"rang", -14145}, {u"rao", -14140},
    {u"re", -14137}, {u"ren", -14135}, {u"reng", -14125}, {u"ri", -14123}, {u"rong", -14122},
    {u"rou", -14112}, {u"ru", -14109}, {u"ruan", -14099}, {u"rui", -14097}, {u"run", -14094},
    {u"ruo", -14092}, {u"sa", -14090}, {u"sai", -14087}, {u"san", -14083}, {u"sang", -13917},
    {u"sao", -13914}, {u"se", -13910}, {u"sen", -13907}, {u"seng", -13906}, {u"sha", -13905},
    {u"shai", -13896}, {u"shan", -13894}, {u"shang", -13878}, {u"shao", -13870}, {u"she", -13859},
    {u"shen", -13847}, {u"sheng", -13831}, {u"shi", -13658}, {u"shou", -13611}, {u"shu", -13601},
    {u"shua", -13406}, {u"shuai", -13404}, {u"shuan", -13400}, {u"shuang", -13398},
    {u"shui", -13395}, {u"shun", -13391}, {u"shuo", -13387}, {u"si", -13383}, {u"song", -13367},
    {u"sou", -13359}, {u"su", -13355}, {u"suan", -13343}, {u"sui", -13340}, {u"sun", -13329},
    {u"suo", -13326}, {u"ta", -13318}, {u"tai", -13147}, {u"tan", -13138}, {u"tang", -13120},
    {u"tao", -13107}, {u"te", -13096}, {u"teng", -13095}, {u"ti", -13091}, {u"tian", -13076},
    {u"tiao", -13068}, {u"tie", -13063}, {u"ting", -13060}, {u"tong", -12888}, {u"tou", -12875},
    {u"tu", -12871}, {u"tuan", -12860}, {u"tui", -12858}, {u"tun", -12852}, {u"tuo", -12849},
    {u"wa", -12838}, {u"wai", -12831}, {u"wan", -12829}, {u"wang", -12812}, {u"wei", -12802},
    {u"wen", -12607}, {u"weng", -12597}, {u"wo", -12594}, {u"wu", -12585}, {u"xi", -12556},
    {u"xia", -12359}, {u"xian", -12346}, {u"xiang", -12320}, {u"xiao", -12300}, {u"xie", -12120},
    {u"xin", -12099}, {u"xing", -12089}, {u"xiong", -12074}, {u"xiu", -12067}, {u"xu", -12058},
    {u"xuan", -12039}, {u"xue", -11867}, {u"xun", -11861}, {u"ya", -11847}, {u"yan", -11831},
    {u"yang", -11798}, {u"yao", -11781}, {u"ye", -11604}, {u"yi", -11589}, {u"yin", -11536},
    {u"ying", -11358}, {u"yo", -11340}, {u"yong", -11339}, {u"you", -11324}, {u"yu", -11304},
    {u"yuan", -11097}, {u"yue", -11077}, {u"yun", -11067}, {u"za", -11055}, {u"zai", -11052},
    {u"zan", -11045}, {u"zang", -11041}, {u"zao", -11038}, {u"ze", -11024}, {u"zei", -11020},
    {u"zen", -11019}, {u"zeng", -11018}, {u"zha", -11014}, {u"zhai", -10838}, {u"zhan", -10832},
    {u"zhang", -10815}, {u"zhao", -10800}, {u"zhe", -10790}, {u"zhen", -10780}, {u"zheng", -10764},
    {u"zhi", -10587}, {u"zhong", -10544}, {u"zhou", -10533}, {u"zhu", -10519}, {u"zhua", -10331},
    {u"zhuai", -10329}, {u"zhuan", -10328}, {u"zhuang", -10322}, {u"zhui", -10315},
    {u"zhun", -10309}, {u"zhuo", -10307}, {u"zi", -10296}, {u"zong", -10281}, {u"zou", -10274},
    {u"zu", -10270}, {u"zuan", -10262}, {u"zui", -10260}, {u"zun", -10256}, {u"zuo", -10254},
}};

}  // namespace arenix::text
