' Shadow text: the shadow turns around the text, one 45 degree step at a
' time, starting from the direction written in the block's style.
Dim shadowDirection

Function ShadowBlockId()
    ShadowBlockId = "[VELD ID]"
End Function

Sub window_onload()
    Dim block
    Set block = document.all(ShadowBlockId())
    If block Is Nothing Then Exit Sub
    shadowDirection = 0
    If IsNumeric(block.filters.item(0).direction) Then
        shadowDirection = CInt(block.filters.item(0).direction)
    End If
    window.setInterval "TurnShadow", 200
End Sub

Sub TurnShadow()
    shadowDirection = (shadowDirection + 45) Mod 360
    document.all(ShadowBlockId()).filters.item(0).direction = shadowDirection
End Sub
