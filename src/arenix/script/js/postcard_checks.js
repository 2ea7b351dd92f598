// Identity-number checks in the browser (CommScriptCheckPostCard), as on the
// server: 18 characters carry the birth date yyyymmdd in characters 7-14; 15
// characters carry yymmdd of the 1900s in characters 7-12. A birth date is a
// real calendar date, not after today and at most 140 calendar years back.
// The check character is GB 11643's.

function OrvelPostcardElement(objectname) {
  if (typeof objectname == "string") {
    return document.getElementById(objectname) || (document.myform ? document.myform.elements[objectname] : null);
  }
  return objectname;
}
function OrvelPostcardBirthday(num) {
  if (num.length == 15) {
    return "19" + num.substring(6, 12);
  }
  return num.substring(6, 14);
}
function OrvelPostcardCheckChar(body) {
  var weights = [7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2];
  var sum = 0;
  for (var i = 0; i < 17; i++) {
    sum += weights[i] * parseInt(body.charAt(i), 10);
  }
  var c = 12 - (sum % 11);
  if (c == 10) {
    return "X";
  }
  if (c == 11) {
    return "0";
  }
  if (c == 12) {
    return "1";
  }
  return String(c);
}
function checkDate(str) {
  str = String(str);
  if (str.length != 8 || !/^[0-9]{8}$/.test(str)) {
    return false;
  }
  var year = parseInt(str.substring(0, 4), 10);
  var month = parseInt(str.substring(4, 6), 10);
  var day = parseInt(str.substring(6, 8), 10);
  var now = new Date();
  var thisYear = now.getFullYear();
  if (year > thisYear || thisYear - year > 140) {
    return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) {
    return false;
  }
  var leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  var days = [31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31];
  if (day > days[month - 1]) {
    return false;
  }
  return year * 10000 + month * 100 + day <= thisYear * 10000 + (now.getMonth() + 1) * 100 + now.getDate();
}
function isIdCardNo(objectname, num, level, autochange) {
  num = String(num);
  level = Number(level);
  if (level > 1) {
    if (num.length != 15 && num.length != 18) {
      alert("输入身份证号码长度不对！");
      return false;
    }
    if (!/^[0-9]+$/.test(num.length == 18 ? num.substring(0, 17) : num)) {
      alert("错误的身份证号码！.");
      return false;
    }
  }
  if (num.length == 18) {
    if (level > 2 && !checkDate(OrvelPostcardBirthday(num))) {
      alert("身份证中日期信息不正确！.");
      return false;
    }
    if (level > 3) {
      var c = OrvelPostcardCheckChar(num.substring(0, 17));
      if (c != num.charAt(17).toUpperCase()) {
        alert("身份证效验位错误!正确为： " + c + ".");
        var element = OrvelPostcardElement(objectname);
        if (autochange == 1 && element) {
          element.value = num.substring(0, 17) + c;
        }
        return false;
      }
    }
  } else if (num.length == 15) {
    if (level > 2 && !checkDate(OrvelPostcardBirthday(num))) {
      alert("身份证日期信息有误！.");
      return false;
    }
  }
  return true;
}
function CheckIdCardRange(objectname, num, level, autochange, YearMax, MinBirthDay, MaxBirthDay) {
  if (!isIdCardNo(objectname, num, level, autochange)) {
    return false;
  }
  num = String(num);
  MinBirthDay = String(MinBirthDay == null ? "" : MinBirthDay);
  MaxBirthDay = String(MaxBirthDay == null ? "" : MaxBirthDay);
  var birthday = OrvelPostcardBirthday(num);
  if (Number(YearMax) > 0 && new Date().getFullYear() - parseInt(birthday.substring(0, 4), 10) > Number(YearMax)) {
    alert("超出了最大岁数[" + YearMax + "]！");
    return false;
  }
  if ((MinBirthDay.length == 8 && birthday < MinBirthDay) || (MaxBirthDay.length == 8 && birthday > MaxBirthDay)) {
    alert("出生年月范围为[" + MinBirthDay + "-" + MaxBirthDay + "]！");
    return false;
  }
  return true;
}
function create_postcard(objectname, birthday, sex) {
  if (birthday == null || birthday == "" || sex == null || sex == "") {
    return;
  }
  var date = String(birthday).replace(/-/g, "");
  if (!checkDate(date) || (sex != "男" && sex != "女")) {
    return;
  }
  var body = "99";
  for (var i = 0; i < 4; i++) {
    body += Math.floor(Math.random() * 10);
  }
  body += date + Math.floor(Math.random() * 10) + Math.floor(Math.random() * 10);
  var last = Math.floor(Math.random() * 5) * 2;
  body += sex == "男" ? last + 1 : last;
  var element = OrvelPostcardElement(objectname);
  if (element) {
    element.value = body + OrvelPostcardCheckChar(body);
  }
}
