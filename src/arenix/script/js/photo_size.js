// The photo size buttons of CommScriptImage; the page sets the limits and
// ratios (PhotoHeightMax ... photo6) before they are used.

var PhotoHeightMax, PhotoHeightMin, PhotoWidthMax, PhotoWidthMin, photo5, photo6;
function OrvelPhotoSize(form, height, width) {
  form.photohight.value = height;
  form.photowidth.value = width;
  var photo = document.getElementById("photofile") || document.images["photofile"];
  if (photo) {
    photo.height = height;
    photo.width = width;
  }
}
function dheight(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height < PhotoHeightMax && width < PhotoWidthMax) {
    OrvelPhotoSize(form, height + step, width + parseInt(step * photo6, 10));
  }
}
function xheight(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height > PhotoHeightMin && width > PhotoWidthMin) {
    OrvelPhotoSize(form, height - step, width - parseInt(step * photo6, 10));
  }
}
function dwidth(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height < PhotoHeightMax && width < PhotoWidthMax) {
    OrvelPhotoSize(form, height + step * photo5, width + step);
  }
}
function xwidth(form) {
  var step = Number(form.phototz.value), height = Number(form.photohight.value), width = Number(form.photowidth.value);
  if (height > PhotoHeightMin && width > PhotoWidthMin) {
    OrvelPhotoSize(form, height - step * photo5, width - step);
  }
}
function photohy(form) {
  OrvelPhotoSize(form, form.photohight1.value, form.photowidth1.value);
}
