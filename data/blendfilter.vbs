' Image blend: once the page has loaded, the image cross-fades from the
' first picture to the next one, and every five seconds back again, with
' the blendTrans filter written in its style.
' The merge writes its values into string literals, joining a line break in with
' Chr(): so they are read through functions, where any expression may stand.
Dim showingFirst

Function BlendImageId()
    BlendImageId = "[IMGID]"
End Function

Function FirstPicture()
    FirstPicture = "[GAZOU1]"
End Function

Function NextPicture()
    NextPicture = "[GAZOU2]"
End Function

Sub window_onload()
    If document.all(BlendImageId()) Is Nothing Then Exit Sub
    showingFirst = True
    BlendOver
    window.setInterval "BlendOver", 5000
End Sub

Sub BlendOver()
    Dim picture
    Set picture = document.all(BlendImageId())
    picture.filters.item(0).Apply
    If showingFirst Then
        picture.src = NextPicture()
    Else
        picture.src = FirstPicture()
    End If
    showingFirst = Not showingFirst
    picture.filters.item(0).Play
End Sub
